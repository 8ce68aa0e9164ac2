// The Mini-Log's deletions: one QSO, every QSO of the own call sign, the whole logbook.
#include "logbook_windows_fixture.h"

#include "platform/widgets/menuitem.h"

#include <QFile>
#include <sqlite3.h>
#include <utility>
#include <QLineEdit>

namespace {

using MiniLogDelete = LogbookWindowsFixture;

constexpr int kWarning = dlg::OKCancel | dlg::Exclamation | dlg::DefaultButton2;

int count(const QString& op)
{
    int n = 0;
    QSORecord r;
    if (VmxBOF(LogbookHandle, 2) != 0)
        return -1;
    while (LogbookGet(2, VmxGetNext, QString(), r) == 0)
        n += r[fOperator] == op;
    return n;
}

TEST_F(MiniLogDelete, OneQsoAfterItsQuestion)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    putQso("G4XYZ", kNoon2024 + 60 * kSecond, "W1OP", "Ann");
    MiniLog& w = miniLog();
    EXPECT_FALSE(w.mnu("mnuDelete").enabled());
    edit(1, 7);
    EXPECT_FALSE(w.mnu("mnuDelete").enabled());
    edit(1, 1);
    EXPECT_TRUE(w.mnu("mnuDelete").enabled());
    press(Qt::Key_Escape); // Escape leaves "&Delete" as it was
    ASSERT_TRUE(w.mnu("mnuDelete").enabled());

    for (const int answer : {int(dlg::Cancel), int(dlg::OK)}) {
        SCOPED_TRACE(answer);
        boxes.clear();
        boxes.answerMessage(answer);
        w.mnu("mnuDelete").click();
        ASSERT_EQ(boxes.messages().size(), 1);
        EXPECT_EQ(boxes.messages()[0].title, "QSO with G4XYZ on 01 Jan 24  12:01");
        EXPECT_EQ(boxes.messages()[0].text, "Are you absolutely sure you want to delete this QSO?\r\n\r\n"
                                            "Once deleted, it can only be recovered from backups you may have made.");
        EXPECT_EQ(boxes.messages()[0].style, dlg::OKCancel);
        QSORecord r;
        EXPECT_EQ(LogbookGet(0, VmxGetEqual, QSOKeyText(kNoon2024 + 60 * kSecond), r) == 0, answer == dlg::Cancel);
    }
    EXPECT_EQ(cell(1, 2), "DL1ABC");
    EXPECT_TRUE(cell(2, 0).isEmpty());
    EXPECT_EQ(QSOCounter, "2");

    // A row without a QSO: the logbook refuses, and the operator hears of it.
    boxes.clear();
    edit(2, 1);
    w.mnu("mnuDelete").click();
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(boxes.messages()[1].title, "Logbook Error");
    EXPECT_EQ(boxes.messages()[1].text, "Failed to delete this QSO.  This is not good.");
    EXPECT_EQ(cell(1, 2), "DL1ABC");
}

TEST_F(MiniLogDelete, AllQsosOfTheOwnCallSignAfterTwoQuestions)
{
    DefaultCallsign = QStringLiteral("K1ABC");
    for (int i = 0; i < 3; ++i) {
        putQso(QStringLiteral("DL%1A").arg(i), kNoon2024 + 3 * i * kSecond, "K1ABC");
        putQso(QStringLiteral("DL%1B").arg(i), kNoon2024 + (3 * i + 1) * kSecond, "k1abc");
        putQso(QStringLiteral("DL%1C").arg(i), kNoon2024 + (3 * i + 2) * kSecond, "W2XYZ");
    }
    MiniLog& w = miniLog();
    ASSERT_EQ(cell(3, 2), "DL0A");

    // Cancel at either question deletes nothing.
    for (const QList<int>& answers : {QList<int>{dlg::Cancel}, QList<int>{dlg::OK, dlg::Cancel}}) {
        boxes.clear();
        for (int a : answers)
            boxes.answerMessage(a);
        w.mnu("mnuDeleteCallsignQSOs").click();
        EXPECT_EQ(boxes.messages().size(), answers.size());
        EXPECT_EQ(count("K1ABC"), 3);
    }
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(boxes.messages()[0].title, "This is your last chance .... ");
    EXPECT_EQ(boxes.messages()[0].style, kWarning);
    EXPECT_EQ(boxes.messages()[0].text,
              "CAUTION !!\r\n\r\nIf you click OK, all QSOs logged for K1ABC will be erased.  The only way to recover "
              "the data is from an ADIF backup.  Are you absolutely sure you want to delete all K1ABC QSOs in the "
              "Logbook?");
    EXPECT_EQ(boxes.messages()[1].text,
              "CAUTION !!\r\n\r\nI'll give you one more chance to change your mind.  Are you absolutely sure you want "
              "to delete all K1ABCQSOs in the Logbook?");

    boxes.clear();
    w.mnu("mnuDeleteCallsignQSOs").click();
    EXPECT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(count("K1ABC"), 0);
    EXPECT_EQ(count("k1abc"), 3);
    EXPECT_EQ(count("W2XYZ"), 3);
    EXPECT_TRUE(cell(1, 0).isEmpty());
    EXPECT_EQ(QSOCounter, "7");
}

TEST_F(MiniLogDelete, TheWholeLogbookLeavesQsoNumberOne)
{
    putQso("DL1ABC", kNoon2024, "W1OP");
    putQso("G4XYZ", kNoon2024 + kSecond, "W2XYZ");
    MiniLog& w = miniLog();
    boxes.answerMessage(dlg::OK);
    boxes.answerMessage(dlg::Cancel);
    w.mnu("mnuDeleteLogbook").click();
    EXPECT_EQ(stored(QSOKeyText(kNoon2024))[fCallsign], "DL1ABC");
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(boxes.messages()[0].text,
              "CAUTION !!\r\n\r\nIf you click OK, then the complete Logbook (all QSOs) will be erased.  The only way "
              "to recover the data is from an ADIF backup.  Are you absolutely sure you want to delete all QSOs in "
              "the Logbook?");
    EXPECT_EQ(boxes.messages()[1].text, "CAUTION !!\r\n\r\nI'll give you one more chance to change your mind.  Are "
                                        "you absolutely sure you want to delete all QSOs in the Logbook?");
    EXPECT_EQ(boxes.messages()[1].style, kWarning);

    boxes.clear();
    w.mnu("mnuDeleteLogbook").click();
    EXPECT_EQ(boxes.messages().size(), 2);
    EXPECT_TRUE(cell(1, 0).isEmpty());
    EXPECT_EQ(main().mnu("mnuSerialNum").caption(), "QSO # 1");
    VmxInfoRecord info;
    ASSERT_EQ(VmxInfo(LogbookHandle, info), 0);
    EXPECT_EQ(info.RecordCount, 0);
    // Logging goes on into the new logbook.
    fillPanel("OK1XYZ");
    LogAndClear();
    EXPECT_EQ(cell(1, 2), "OK1XYZ");
    EXPECT_EQ(main().mnu("mnuSerialNum").caption(), "QSO # 2");
}

// Boxes that run a step of the test when a message with a given beginning shows, then answer
// as the fixture's boxes do.
class HookedBoxes : public dlg::Dialogs {
public:
    explicit HookedBoxes(dlg::ScriptedDialogs& inner) : inner_(inner) { install(this); }
    ~HookedBoxes() override { install(&inner_); }
    void on(const QString& start, std::function<void()> step) { steps_.append({start, std::move(step)}); }

    int message(const QString& text, int style, const QString& title) override
    {
        for (auto& [start, step] : steps_)
            if (step && text.startsWith(start))
                std::exchange(step, nullptr)();
        return inner_.message(text, style, title);
    }
    std::optional<QString> input(const QString& p, const QString& t, const QString& d) override { return inner_.input(p, t, d); }
    std::optional<std::int32_t> colour(std::int32_t c) override { return inner_.colour(c); }
    std::optional<dlg::FontChoice> font(const dlg::FontChoice& f, const QString& t) override { return inner_.font(f, t); }
    QString openFile(const dlg::FileRequest& r) override { return inner_.openFile(r); }
    QString saveFile(const dlg::FileRequest& r) override { return inner_.saveFile(r); }

private:
    dlg::ScriptedDialogs& inner_;
    QList<std::pair<QString, std::function<void()>>> steps_;
};

TEST_F(MiniLogDelete, ALogbookThatCannotBeDeletedIsOpenedAgain)
{
    putQso("DL1ABC", kNoon2024, "W1OP");
    MiniLog& w = miniLog();
    // Another program takes the logbook while the second question shows and keeps it until the
    // failure has been reported.
    sqlite3* other = nullptr;
    HookedBoxes hooked(boxes);
    hooked.on("CAUTION !!\r\n\r\nI'll give", [&] {
        VmxClose(LogbookHandle);
        ASSERT_EQ(sqlite3_open(QFile::encodeName(LogbookPath()).constData(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    });
    hooked.on("Logbook Error = ", [&] { sqlite3_close(other); });
    w.mnu("mnuDeleteLogbook").click();
    const QStringList texts = messageTexts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[2].startsWith("Logbook Error = " + QString::fromStdString(VmxReturnCode(VmxLocked)) + "\r\n\r\nLogbook file: "))
        << texts[2].toStdString();
    EXPECT_EQ(cell(1, 2), "DL1ABC");
    EXPECT_EQ(stored(QSOKeyText(kNoon2024))[fCallsign], "DL1ABC");
    clock.setUtc(QDateTime(QDate(2024, 1, 1), QTime(12, 5), Qt::UTC));
    fillPanel("OK1XYZ");
    LogAndClear();
    EXPECT_EQ(cell(1, 2), "OK1XYZ");
    EXPECT_EQ(QSOCounter, "3");
}

} // namespace
