#include "display_fixture.h"

#include "displays/drawing/palette.h"
#include "displays/setup/waterfall_colors.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using Palette = DisplayFixture;

TEST_F(Palette, TheBuiltInPaletteRunsFromBlackToWhite)
{
    LoadDefaultWaterfallColors();
    const auto colours = WaterfallLevelColors();
    EXPECT_EQ(colours[0], qRgb(0, 0, 0));
    EXPECT_EQ(colours[1], qRgb(0, 50, 210));
    EXPECT_EQ(colours[7], qRgb(191, 254, 140));
    EXPECT_EQ(colours[12], qRgb(255, 255, 255));
    EXPECT_EQ(DefaultWaterfallPalette[1][5], "252");
    // Text that is not a plain number is read by its leading number and kept to 0..255.
    WaterfallPalette[0][3] = "12a";
    WaterfallPalette[1][3] = "999";
    WaterfallPalette[2][3] = "-4";
    WaterfallPalette[0][0] = "255"; // level 0 stays black
    EXPECT_EQ(WaterfallLevelColors()[3], qRgb(12, 255, 0));
    EXPECT_EQ(WaterfallLevelColors()[0], qRgb(0, 0, 0));
}

TEST_F(Palette, StoredAsThirtySixKeys)
{
    WaterfallPalette[1][12] = "77";
    SaveWaterfallColors();
    EXPECT_EQ(WaterfallColorKey(12, 2), "Color 12:2");
    EXPECT_EQ(ini("Waterfall Color", "Color 1:1"), "0");
    EXPECT_EQ(ini("Waterfall Color", "Color 1:3"), "210");
    EXPECT_EQ(ini("Waterfall Color", "Color 12:2"), "77");
    EXPECT_EQ(ini("Waterfall Color", "Color 0:1"), "<missing>");
    EXPECT_EQ(iniText().count("Color "), 36);
}

TEST_F(Palette, EditorValidatesEveryChange)
{
    WaterfallColors editor;
    EXPECT_EQ(editor.windowTitle(), "Set Waterfall colors");
    EXPECT_EQ(editor.Text1[0]->text(), "0");
    EXPECT_EQ(editor.Text3[0]->text(), "210");
    EXPECT_EQ(editor.Text2[11]->text(), "255");
    EXPECT_FALSE(editor.OKButton->isEnabled());
    struct Case { const char* typed; const char* shown; };
    const Case cases[] = {{"300", "255"}, {"1234", "123"}, {"", "0"}, {"-5", "0"}, {"12", "12"}, {"abc", "abc"}};
    for (const Case& c : cases) {
        editor.Text2[4]->setText(c.typed);
        EXPECT_EQ(editor.Text2[4]->text(), c.shown) << c.typed;
    }
    EXPECT_TRUE(editor.OKButton->isEnabled());
    editor.Text1[4]->setText("200");
    editor.Text2[4]->setText("100");
    EXPECT_EQ(editor.Label1[4]->palette().color(QPalette::Window), QColor(200, 100, 251));
}

TEST_F(Palette, ColourBoxFillsTheRow)
{
    WaterfallColors editor;
    boxes.answerColour(255);
    boxes.answerColour(0x0A0B0C); // blue part below 16 keeps its exact value
    boxes.answerColour(std::nullopt);
    editor.Label1_Click(2);
    EXPECT_EQ(QStringList({editor.Text1[2]->text(), editor.Text2[2]->text(), editor.Text3[2]->text()}),
              QStringList({"255", "0", "0"}));
    editor.Label1_Click(3);
    EXPECT_EQ(QStringList({editor.Text1[3]->text(), editor.Text2[3]->text(), editor.Text3[3]->text()}),
              QStringList({"12", "11", "10"}));
    editor.Label1_Click(5); // cancelled: nothing changes
    EXPECT_EQ(editor.Text1[5]->text(), "65");
}

TEST_F(Palette, OKAndDefaultStoreThePaletteAndClose)
{
    int shown = 0;
    dlg::setModalRunner([&](QDialog& d) {
        auto& editor = dynamic_cast<WaterfallColors&>(d);
        if (shown++ == 0) {
            editor.Text1[0]->setText("9");
            editor.OKButton->click();
        } else {
            editor.Default->click();
        }
        return d.result();
    });
    main().mnu("mnuWaterfallColors").click();
    EXPECT_EQ(WaterfallPalette[0][1], "9");
    EXPECT_EQ(ini("Waterfall Color", "Color 1:1"), "9");
    main().mnu("mnuWaterfallColors").click();
    EXPECT_EQ(WaterfallPalette[0][1], "0");
    EXPECT_EQ(ini("Waterfall Color", "Color 1:1"), "0");
    EXPECT_EQ(shown, 2);
    dlg::setModalRunner({});
}

TEST_F(Palette, ClosingTheEditorKeepsThePalette)
{
    dlg::setModalRunner([](QDialog& d) {
        static_cast<WaterfallColors&>(d).Text1[0]->setText("99");
        d.reject();
        return d.result();
    });
    main().mnu("mnuWaterfallColors").click();
    EXPECT_EQ(WaterfallPalette[0][1], "0");
    EXPECT_EQ(iniText(), "");
    dlg::setModalRunner({});
}

} // namespace
