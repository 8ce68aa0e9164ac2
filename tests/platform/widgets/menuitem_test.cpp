#include "platform/widgets/menuitem.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>

namespace {

TEST(MenuItem, TheHandlerAloneDecidesTheMark)
{
    struct Row {
        const char* what;
        bool startChecked;
        std::function<void(MenuItem&)> handler;
        bool wantChecked;
    };
    const Row rows[] = {
        {"handler leaves unchecked", false, [](MenuItem&) {}, false},
        {"handler leaves checked", true, [](MenuItem&) {}, true},
        {"handler toggles on", false, [](MenuItem& m) { m.setChecked(!m.checked()); }, true},
        {"handler toggles off", true, [](MenuItem& m) { m.setChecked(!m.checked()); }, false},
        {"handler sets", true, [](MenuItem& m) { m.setChecked(true); }, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        QMenu menu;
        MenuItem item(QStringLiteral("&Line wrap"), &menu);
        menu.addAction(item.action());
        item.setChecked(r.startChecked);
        int calls = 0;
        bool markSeenByHandler = false;
        item.setHandler([&] {
            ++calls;
            markSeenByHandler = item.checked();
            r.handler(item);
        });
        item.action()->trigger(); // as the operator's click
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(markSeenByHandler, r.startChecked); // not yet toggled by Qt
        EXPECT_EQ(item.checked(), r.wantChecked);
        EXPECT_EQ(item.action()->isChecked(), r.wantChecked);
    }
}

TEST(MenuItem, SettingTheMarkRunsNoHandler)
{
    QAction action(QStringLiteral("Always on top"));
    int calls = 0;
    auto* item = new MenuItem(&action, [&] { ++calls; });
    EXPECT_FALSE(action.isCheckable()); // never checked yet: no check box
    item->setChecked(true);
    EXPECT_TRUE(action.isCheckable());
    EXPECT_TRUE(action.isChecked());
    item->setChecked(false);
    EXPECT_FALSE(action.isChecked());
    EXPECT_EQ(calls, 0);

    item->setEnabled(false);
    item->setVisible(false);
    item->click(); // restoring a setting runs the handler even on a hidden item
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(item->enabled());
    EXPECT_FALSE(item->visible());
    item->setCaption(QStringLiteral("Profile 1"));
    EXPECT_EQ(item->caption(), QStringLiteral("Profile 1"));
}

} // namespace
