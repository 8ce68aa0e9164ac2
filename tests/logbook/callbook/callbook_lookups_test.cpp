// The look-ups through the program's own path: a call sign typed into the QSO panel (or the
// "$cd$" macro token) runs the chosen look-up through the stand-in library on disc over the
// sample licence data, and the station shows in the callbook window.
#include "callbook_fixture.h"

#include "core/macros/macro_interpreter.h"
#include "core/macros/macro_services.h"
#include "logbook/callbook/callbook_libraries.h"
#include "logbook/callbook/cd_lookup.h"
#include "logbook/callbook/frmcddisplay.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QLineEdit>
#include <cstring>

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kTen(10, QLatin1Char(' '));

using CallbookLookups = CallbookFixture;

TEST_F(CallbookLookups, AStationFromTheSampleDataShowsThroughEachLookup)
{
    const struct {
        const char* item;
        const char* call;
        QString shown;
        QString panel;
    } cases[] = {
        {"mnuHamCall", "W1XYZ",
         "JOHN Q DOE JR    <ex K9OLD>" + kCRLF + "123 MAIN ST" + kCRLF + "SPRINGFIELD, IL 62701" + kCRLF + kCRLF +
             kCRLF + "License Class: Extra    License expires: Mar 14, 2033",
         ""},
        // Of the two licences of the call sign the active one.
        {"mnuHamCall", "kd2abc",
         "MARY SMITH " + kCRLF + "PO Box 42" + kCRLF + "ALBANY, NY 12207" + kCRLF + kCRLF + kCRLF +
             "License Class: General    License expires: Jun 15, 2031",
         ""},
        {"mnuQRZ", "W1XYZ",
         "JOHN Q DOE JR" + kCRLF + "123 MAIN ST" + kCRLF + "SPRINGFIELD, IL 62701" + kCRLF + "Prev: K9OLD" + kCRLF +
             "     License Class: Extra     License expires: 03/14/33",
         ""},
        {"mnuQRZ", "N0CLB",
         "PRAIRIE AMATEUR RADIO CLUB" + kCRLF + "4400 FAIRGROUNDS RD" + kCRLF + "WICHITA, KS 67219" + kCRLF + kCRLF +
             kTen + "License expires: 11/02/30",
         ""},
        {"mnuQRZ", "AB1CDE",
         "ALEXANDER WHITFIELD-KENSINGTON" + kCRLF + "2750 NORTH RIVERSIDE PARKWAY EAST APARTMENT 1" + kCRLF +
             "PORTSMOUTH, NH 03801" + kCRLF + kCRLF + "     License Class: Technician     License expires: 08/30/34",
         ""},
        {"mnuRAC", "VE3XYZ",
         "Jane Doe," + kTen + "VE3XYZ" + kCRLF + "123 Maple Ave," + kCRLF + "Ottawa, ON K1A 0B1" + kCRLF + kCRLF +
             "LicenseClass: Basic, Advanced",
         ""},
        {"mnuRAC", "VA2QRP",
         "Pierre Tremblay," + kTen + "VA2QRP" + kCRLF + "45 rue Principale," + kCRLF +
             QString::fromUtf8("L\u00e9vis, QC G6V 4Z2") + kCRLF + kCRLF +
             "LicenseClass: Basic, Morse 5 WPM, Morse 12 WPM, Advanced, Basic with Honours",
         ""},
        {"mnuRAC", "VE1HRC",
         "HALIFAX AMATEUR RADIO CLUB," + kCRLF + "PO Box 8895," + kCRLF + "Halifax NS  B3K 5M5, " + kCRLF + "HARC" +
             kCRLF + kCRLF + kCRLF + "LicenseClass: Basic, Advanced",
         ""},
    };
    for (const auto& t : cases) {
        choose(t.item);
        type(QString::fromLatin1(t.call));
        frmCDDisplay* w = frmCDDisplay::existing();
        ASSERT_NE(w, nullptr) << t.item << " " << t.call;
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->windowTitle(), QString::fromLatin1(t.call));
        EXPECT_EQ(w->text(), t.shown) << t.item << " " << t.call;
        EXPECT_EQ(w->panelCaption(), t.panel) << t.item << " " << t.call;
        EXPECT_TRUE(boxes.calls().isEmpty()) << t.item << " " << t.call;
        // A call sign that is not on the disc closes the window.
        type(QStringLiteral("ZZ9ZZZ"));
        EXPECT_EQ(frmCDDisplay::existing(), nullptr) << t.item;
        type(QString());
    }
}

TEST_F(CallbookLookups, TheMacroTokenLooksUpAgain)
{
    choose("mnuRAC");
    main().mnu("mnuAutoCDLookup").click(); // off: only the token looks up
    main().mnu("mnuAutoCDLookup").setEnabled(true);
    type("VE3XYZ");
    EXPECT_EQ(frmCDDisplay::existing(), nullptr);
    MacroTexts[1] = QStringLiteral("$cd$");
    ExpandAndSendMacro(1);
    ASSERT_NE(frmCDDisplay::existing(), nullptr);
    EXPECT_TRUE(frmCDDisplay::existing()->text().startsWith("Jane Doe,"));
}

TEST_F(CallbookLookups, NoFolderOrNoTypeSaysOrDoesNothing)
{
    choose("mnuHamCall");
    CDDrive = QStringLiteral("None");
    type("W1XYZ");
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, "I could not find a CD drive.  Please check the documentation and set a "
                                        "default CD drive in the Sondrel.ini file.");
    EXPECT_EQ(boxes.messages()[0].title, "Invalid CD");
    EXPECT_EQ(boxes.messages()[0].style, 0);
    EXPECT_EQ(frmCDDisplay::existing(), nullptr);

    boxes.clear();
    CDDrive = cd();
    main().mnu("mnuCDNone").click();
    DoCDLookup();
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_EQ(frmCDDisplay::existing(), nullptr);
}

TEST_F(CallbookLookups, AMissingLibraryOrEntryPointIsSaidAsTheLibraryMissing)
{
    QTemporaryDir folder;
    callbook::setSearchFolders({folder.path()});
    const QString qrzLibrary = QStringLiteral(CALLBOOK_LIBRARY_FOLDER "/libqrz32.so");
    const struct {
        const char* item;
        const char* impostor; // a library file of this name holding another library's entries
        const char* text;
        const char* title;
        int style;
    } cases[] = {
        {"mnuHamCall", nullptr,
         "I cannot find the file HAMCAL32.DLL needed to access the HamCall CD.  Please copy this file from you "
         "HamCall CD to the Sondrel directory.",
         "No HamCall DLL...", 48},
        {"mnuQRZ", nullptr,
         "I cannot find the QRZ32.DLL file.  Please copy this file from your QRZ CD to the Sondrel directory.",
         "DLL Not found ...", 0},
        {"mnuRAC", nullptr,
         "I cannot find the file RACCD32A.DLL needed to access the RAC CD.  Please copy this file from you RAC CD "
         "to the Sondrel directory.",
         "No RAC DLL...", 0},
        {"mnuHamCall", "libHamCal32.so",
         "I cannot find the file HAMCAL32.DLL needed to access the HamCall CD.  Please copy this file from you "
         "HamCall CD to the Sondrel directory.",
         "No HamCall DLL...", 48},
        {"mnuRAC", "libRACCD32A.so",
         "I cannot find the file RACCD32A.DLL needed to access the RAC CD.  Please copy this file from you RAC CD "
         "to the Sondrel directory.",
         "No RAC DLL...", 0},
    };
    for (const auto& t : cases) {
        if (t.impostor) {
            ASSERT_TRUE(QFile::copy(qrzLibrary, QDir(folder.path()).filePath(QString::fromLatin1(t.impostor))));
        }
        choose(t.item);
        boxes.clear();
        type("W1XYZ");
        ASSERT_EQ(boxes.messages().size(), 1) << t.item;
        EXPECT_EQ(boxes.messages()[0].text, QString::fromLatin1(t.text));
        EXPECT_EQ(boxes.messages()[0].title, QString::fromLatin1(t.title));
        EXPECT_EQ(boxes.messages()[0].style, t.style);
        EXPECT_EQ(frmCDDisplay::existing(), nullptr);
        type(QString());
    }
}

TEST_F(CallbookLookups, TheLibrariesSayWhatIsWrongWithTheDisc)
{
    const QString cdPath = cd();
    const struct {
        const char* item;
        std::function<void()> spoil;
        QString text;
        const char* title;
    } cases[] = {
        {"mnuHamCall", [&] { QDir(cdPath + "/HAM0").removeRecursively(); },
         "The Hamcall CD " + cdPath + "/HAM0/ was not found", "Not found"},
        {"mnuQRZ", [&] { QFile::remove(cdPath + "/EN.dat"); }, "Error: CD not be found.", "CD ROM Error"},
        {"mnuRAC", [&] { QFile::remove(cdPath + "/amateur_delim.txt"); }, "File not found", "CD Error"},
        {"mnuRAC", [&] { CDDrive = cdPath + "/nowhere"; }, cdPath + "/nowhere/ not found", "CD Error"},
    };
    for (const auto& t : cases) {
        choose(t.item);
        t.spoil();
        boxes.clear();
        type("W1XYZ");
        ASSERT_EQ(boxes.messages().size(), 1) << t.item;
        EXPECT_EQ(boxes.messages()[0].text, t.text);
        EXPECT_EQ(boxes.messages()[0].title, QString::fromLatin1(t.title));
        type(QString());
    }
}

// ---- fakes that stand where a library's entry points are ------------------------------------

QStringList g_calls;
std::int32_t g_initResult = 1;
int g_answer = 0;

void write(char* buffer, std::int32_t length, const QByteArray& text)
{
    std::memcpy(buffer, text.constData(), std::min<std::size_t>(text.size(), std::size_t(length)));
}

std::int32_t fakeInit(char*, std::int32_t)
{
    g_calls << "QRZInit";
    return g_initResult;
}

std::int32_t fakeSearch(std::int32_t kind, const char* call, const char* a, const char* b, char* buffer,
                        std::int32_t length, std::int32_t flags)
{
    g_calls << QStringLiteral("QRZSearch %1 %2 '%3' '%4' %5 %6").arg(kind).arg(call, a, b).arg(length).arg(flags);
    if (g_answer++ == 0)
        write(buffer, length, "K1A JOHN DOE\r\n" + QByteArray("MAIN ST").leftJustified(45, ' ') +
                                  " Born: 1950\r\n" + QByteArray(45, ' ') + " Licn: Extra\r\n" +
                                  QByteArray(45, ' ') + " Expn:03/14/33\r\n");
    else
        write(buffer, length, QByteArray("K1B ONLY\r\n\0", 11));
    return 1;
}

std::int32_t fakeExit()
{
    g_calls << "QRZExit";
    return 0;
}

std::int32_t fakeGetCallInfo(const char*, const char*, char* buffer, std::int32_t length, std::int16_t* result)
{
    // The first answer fills every field; the later ones hold only a main field, once without
    // its NUL and once with one.
    if (g_answer == 0)
        write(buffer, length, "\x02" "DOE, JANE\x03\x05K1A\x06ON\x07" "Basic\x08\x18VE3XYZ\x19" + QByteArray(1, 0));
    else if (g_answer == 1)
        write(buffer, length, "\x02NEW\x03");
    else
        write(buffer, length, QByteArray("\x02NEW\x03\0\x07" "Basic\x08", 10));
    ++g_answer;
    *result = 0;
    return 0;
}

class FakeLibraries : public CallbookFixture {
protected:
    void SetUp() override
    {
        CallbookFixture::SetUp();
        g_calls.clear();
        g_initResult = 1;
        g_answer = 0;
        callbook::setResolver([](const QString&, const char* entry) -> void* {
            const std::string e(entry);
            if (e == "QRZInit") return reinterpret_cast<void*>(&fakeInit);
            if (e == "QRZSearch") return reinterpret_cast<void*>(&fakeSearch);
            if (e == "QRZExit") return reinterpret_cast<void*>(&fakeExit);
            if (e == "sGetCallInfo") return reinterpret_cast<void*>(&fakeGetCallInfo);
            return nullptr;
        });
    }
};

TEST_F(FakeLibraries, QRZIsOpenedForEachLookupAndClosedOnlyAfterAFailedOpening)
{
    choose("mnuQRZ");
    type("K1ABC");
    type("K1ABD");
    EXPECT_EQ(g_calls, QStringList({"QRZInit", "QRZSearch 1 K1ABC '' '' 501 1", "QRZInit",
                                    "QRZSearch 1 K1ABD '' '' 501 1"}));
    const struct {
        std::int32_t init;
        const char* call;
        const char* text;
    } failures[] = {{-1, "K1ABE", "DLL is in use by another application."}, {0, "K1ABF", "Error: CD not be found."}};
    for (const auto& f : failures) {
        g_calls.clear();
        boxes.clear();
        g_initResult = f.init;
        type(QString::fromLatin1(f.call));
        EXPECT_EQ(g_calls, QStringList({"QRZInit", "QRZExit"}));
        ASSERT_EQ(boxes.messages().size(), 1);
        EXPECT_EQ(boxes.messages()[0].text, QString::fromLatin1(f.text));
        EXPECT_EQ(boxes.messages()[0].title, "CD ROM Error");
    }
}

TEST_F(FakeLibraries, NothingOfThePreviousAnswerShowsWithTheNext)
{
    choose("mnuQRZ");
    type("K1ABC");
    ASSERT_NE(frmCDDisplay::existing(), nullptr);
    EXPECT_EQ(frmCDDisplay::existing()->text(), "JOHN DOE" + kCRLF + "MAIN ST" + kCRLF + kCRLF + kCRLF +
                                                    "DOB: 1950     License Class: Extra     License expires: 03/14/33");
    type("K1ABD");
    EXPECT_EQ(frmCDDisplay::existing()->text(), "ONLY" + kCRLF + kCRLF + kCRLF + kCRLF + QString(10, ' '));

    g_answer = 0;
    choose("mnuRAC");
    type("VE3XYZ");
    EXPECT_EQ(frmCDDisplay::existing()->text(),
              "DOE," + kTen + "VE3XYZ" + kCRLF + "JANE, ON K1A" + kCRLF + kCRLF + "LicenseClass: Basic");
    for (const char* call : {"VE3XYA", "VE3XYB"}) {
        type(QString::fromLatin1(call));
        EXPECT_EQ(frmCDDisplay::existing()->text(), "NEW, " + kCRLF + kCRLF) << call;
    }
}

} // namespace
