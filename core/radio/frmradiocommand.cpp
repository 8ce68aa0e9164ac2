#include "core/radio/frmradiocommand.h"

#include "core/radio/radio_port.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/links.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

enum Frame { kPort, kBaud, kFlow, kData, kParity, kStop };

struct Choice {
    Frame frame;
    int index;
    const char* caption;
    const char* value;
};

// In the order each frame shows them.
const Choice kChoices[] = {
    {kPort, 0, "None", "0"}, {kPort, 1, "Com 1", "1"}, {kPort, 2, "Com 2", "2"}, {kPort, 3, "Com 3", "3"},
    {kPort, 4, "Com 4", "4"}, {kPort, 5, "Com 5", "5"}, {kPort, 6, "Com 6", "6"}, {kPort, 7, "Com 7", "7"},
    {kPort, 8, "Com 8", "8"},
    {kBaud, 17, "300", "300"}, {kBaud, 16, "600", "600"}, {kBaud, 15, "1200", "1200"},
    {kBaud, 14, "2400", "2400"}, {kBaud, 13, "4800", "4800"}, {kBaud, 30, "9600", "9600"},
    {kBaud, 12, "14400", "14400"}, {kBaud, 11, "19200", "19200"}, {kBaud, 10, "28800", "28800"},
    {kBaud, 9, "38400", "38400"},
    {kFlow, 18, "None", "0"}, {kFlow, 19, "RTS", "2"}, {kFlow, 20, "XonXoff", "1"},
    {kData, 23, "6 bits", "6"}, {kData, 22, "7 bits", "7"}, {kData, 21, "8 bits", "8"},
    {kParity, 26, "None", "N"}, {kParity, 25, "Odd", "O"}, {kParity, 24, "Even", "E"},
    {kStop, 28, "1 Stop", "1"}, {kStop, 29, "2 Stop", "2"},
};

const char* const kFrameCaptions[] = {" Serial Port ", " Baud rate ", " Flow ", " Data bits ", " Parity ",
                                      " Stop bits "};
// What OK takes for a frame with nothing selected.
const char* const kFrameDefaults[] = {"0", "9600", "0", "7", "N", "1"};

const char* const kRadioTypes[] = {"No Radio", "Icom (not IC-735)", "Icom (IC-735 only)", "Kachina 505",
                                   "Ten Tec Omni VI", "Kenwood - all", "Yaesu FT-1000MP", "Yaesu FT-1000D",
                                   "Yaesu FT-990", "Yaesu FT-847"};

// A CI-V address: one or two hexadecimal digits, at most 7F.
bool validIcomAddress(const QString& text)
{
    if (text.isEmpty() || text.size() > 2)
        return false;
    bool ok = false;
    const int value = text.toInt(&ok, 16);
    return ok && value >= 0 && value <= 0x7F;
}

} // namespace

frmRadioCommand::frmRadioCommand(QWidget* parent) : QDialog(parent)
{
    build();
    Form_Load();
}

void frmRadioCommand::build()
{
    setObjectName(QStringLiteral("frmRadioCommand"));
    setWindowTitle(QStringLiteral("RigControl setup"));
    auto* column = new QVBoxLayout(this);
    auto* frames = new QGridLayout;
    std::array<QVBoxLayout*, 6> inner{};
    for (int f = 0; f < 6; ++f) {
        auto* box = new QGroupBox(QString::fromLatin1(kFrameCaptions[f]), this);
        Frames[static_cast<std::size_t>(f)] = box;
        inner[static_cast<std::size_t>(f)] = new QVBoxLayout(box);
        frames->addWidget(box, f < 2 ? 0 : 1, f < 2 ? f : f - 2, f < 2 ? 1 : 1, 1);
    }
    for (const Choice& c : kChoices) {
        auto* b = new QRadioButton(QString::fromLatin1(c.caption), Frames[c.frame]);
        b->setObjectName(QStringLiteral("Option1(%1)").arg(c.index));
        inner[c.frame]->addWidget(b);
        Option1[static_cast<std::size_t>(c.index)] = b;
        const int index = c.index;
        connect(b, &QRadioButton::clicked, this, [this, index] { Option1_Click(index); });
    }
    column->addLayout(frames);

    auto* fields = new QFormLayout;
    Combo = new QComboBox(this);
    Combo->setObjectName(QStringLiteral("Combo"));
    PollingIntervalBox = new QLineEdit(this);
    PollingIntervalBox->setObjectName(QStringLiteral("PollingIntervalBox"));
    IcomAddressBox = new QLineEdit(this);
    IcomAddressBox->setObjectName(QStringLiteral("IcomAddressBox"));
    RadioDataBox = new QLineEdit(this);
    RadioDataBox->setObjectName(QStringLiteral("RadioDataBox"));
    fields->addRow(QStringLiteral("Radio type :"), Combo);
    fields->addRow(QStringLiteral("Polling speed (in milliseconds) : "), PollingIntervalBox);
    fields->addRow(QStringLiteral("Icom address (Hex) :"), IcomAddressBox);
    fields->addRow(QStringLiteral("Radio data file :"), RadioDataBox);
    column->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelBurron = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBurron->setObjectName(QStringLiteral("CancelBurron"));
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelBurron);
    column->addLayout(buttons);

    connect(Combo, &QComboBox::activated, this, &frmRadioCommand::Combo_Click);
    for (QLineEdit* box : {PollingIntervalBox, IcomAddressBox, RadioDataBox})
        connect(box, &QLineEdit::textChanged, this, &frmRadioCommand::enableOK);
    connect(OKButton, &QPushButton::clicked, this, &frmRadioCommand::OKButton_Click);
    connect(CancelBurron, &QPushButton::clicked, this, &frmRadioCommand::CancelBurron_Click);
}

void frmRadioCommand::Form_Load()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
    for (const char* name : kRadioTypes)
        Combo->addItem(QString::fromLatin1(name));
    PollingIntervalBox->setText(QString::number(RadioPollInterval));
    RadioDataBox->setText(RadioDataFileName);
    IcomAddressBox->setText(IcomAddress);
    const QString values[] = {RadioPortNumber, RadioBaudRate, RadioFlowControl, RadioDataBits, RadioParity,
                              RadioStopBits};
    for (const Choice& c : kChoices)
        if (values[c.frame] == QLatin1String(c.value))
            Option1[static_cast<std::size_t>(c.index)]->setChecked(true);
    const int model = Combo->findText(RadioModel, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (model >= 0)
        Combo->setCurrentIndex(model);
    OKButton->setEnabled(false);
}

void frmRadioCommand::enableOK()
{
    OKButton->setEnabled(true);
}

void frmRadioCommand::Combo_Click()
{
    enableOK();
}

void frmRadioCommand::Option1_Click(int)
{
    enableOK();
}

void frmRadioCommand::CancelBurron_Click()
{
    reject();
}

void frmRadioCommand::readOptions()
{
    std::array<QString, 6> texts;
    for (int f = 0; f < 6; ++f)
        texts[static_cast<std::size_t>(f)] = QString::fromLatin1(kFrameDefaults[f]);
    for (const Choice& c : kChoices)
        if (Option1[static_cast<std::size_t>(c.index)]->isChecked())
            texts[c.frame] = QString::fromLatin1(c.value);
    port_ = texts[kPort];
    baud_ = texts[kBaud];
    flow_ = texts[kFlow];
    dataBits_ = texts[kData];
    parity_ = texts[kParity];
    stopBits_ = texts[kStop];
}

bool frmRadioCommand::doPortsettings()
{
    DropRadioPTTLines();
    // The entries were checked before: the numbers fit.
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("CommPort"), vb::CInt(vb::Val(port_)));
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("setIcomAddress"), IcomAddressBox->text());
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("setPollInterval"), vb::CInt(vb::Val(PollingIntervalBox->text())));
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("Handshaking"), vb::CInt(vb::Val(flow_)));
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("Settings"),
                              baud_ + u',' + parity_ + u',' + dataBits_ + u',' + stopBits_);
    return APIResult != 0;
}

bool frmRadioCommand::doSaveSettings()
{
    const QString type = Combo->currentText();
    if (type != RadioModel) {
        QVariantList args{type};
        if (!RigCall(QStringLiteral("SetRadioType"), args).toBool())
            return false;
    }
    RadioParity = parity_;
    RadioFlowControl = flow_;
    RadioDataBits = dataBits_;
    RadioStopBits = stopBits_;
    RadioPortNumber = port_;
    RadioBaudRate = baud_;
    RadioModel = type;
    RadioPollInterval = vb::CInt(vb::Val(PollingIntervalBox->text()));
    IcomAddress = IcomAddressBox->text();
    const QString section = QStringLiteral("Radio Control");
    WriteINI(section, QStringLiteral("Parity"), RadioParity);
    WriteINI(section, QStringLiteral("Flow Control"), RadioFlowControl);
    WriteINI(section, QStringLiteral("Data Bits"), RadioDataBits);
    WriteINI(section, QStringLiteral("Stop Bits"), RadioStopBits);
    WriteINI(section, QStringLiteral("Port Number"), RadioPortNumber);
    WriteINI(section, QStringLiteral("Baud Rate"), RadioBaudRate);
    WriteINI(section, QStringLiteral("Radio Type"), RadioModel);
    WriteINI(section, QStringLiteral("Poll Interval"), QString::number(RadioPollInterval));
    WriteINI(section, QStringLiteral("Icom Address"), IcomAddress);
    WriteINI(section, QStringLiteral("Radio Data File Name"), RadioDataBox->text());
    return true;
}

void frmRadioCommand::OKButton_Click()
{
    const double poll = vb::Val(PollingIntervalBox->text());
    if (poll < 0 || poll > 5000) {
        dlg::MsgBox(QStringLiteral("The Radio polling interval is adjustable between 0 and 5000.  A setting of 0 is "
                                   "no polling.  A setting of 5000 is 5 seconds."),
                    dlg::OKOnly, QStringLiteral("Incorrect polling interval"));
        return;
    }
    if (!validIcomAddress(IcomAddressBox->text())) {
        dlg::MsgBox(QStringLiteral("The Icom address must be a Hex number between 0 and 7F."), dlg::OKOnly,
                    QStringLiteral("Incorrect Icom address"));
        return;
    }
    readOptions();
    if (port_ != QLatin1String("0") && vb::Val(port_) == PTTPortNum) {
        dlg::MsgBox(QStringLiteral("There is a conflict.  You have both the dedicated PTT serial port, and the Radio "
                                   "control serial port set to Comm ")
                        + port_ + QStringLiteral(", this isn't going to work."),
                    dlg::OKOnly, QStringLiteral("No can do..."));
        return;
    }
    const bool wasOpen = RigCall(QStringLiteral("getCommPortState")).toBool();
    const QString type = Combo->currentText();

    // These two run without the serial port.
    if (type == QLatin1String("No Radio") || type == QLatin1String("Kachina 505")) {
        if (wasOpen)
            APIResult = RigNumber(QStringLiteral("PortOpen"), false);
        port_ = QStringLiteral("0");
        if (!doSaveSettings())
            return;
        const std::int16_t interval = vb::CInt(poll);
        APIResult = RigNumber(QStringLiteral("setPollInterval"), interval);
        RadioPollInterval = interval;
        QVariantList file{RadioDataBox->text()};
        RigCall(QStringLiteral("PutRadioFileName"), file);
        RadioDataFileName = RadioDataBox->text();
        accept();
        return;
    }

    const QString portOptions = QStringLiteral("Port options");
    bool saved = false;
    if (wasOpen) {
        const int number = RigCall(QStringLiteral("getCommPortNumber")).toInt();
        if (dlg::MsgBox(QStringLiteral("The radio control port, Comm ") + vb::Str(number)
                            + QStringLiteral(", is already open.  Do you want me to close the port and adjust the "
                                             "settings?"),
                        dlg::YesNo, portOptions)
            != dlg::Yes)
            return;
        APIResult = RigNumber(QStringLiteral("PortOpen"), false);
        if (port_ == QLatin1String("0")) {
            saved = doSaveSettings();
        } else {
            if (!doPortsettings())
                return;
            APIResult = RigNumber(QStringLiteral("PortOpen"), true);
            if (APIResult == 0)
                return;
            saved = doSaveSettings();
        }
    } else if (port_ == QLatin1String("0")) {
        saved = doSaveSettings();
    } else {
        if (!doPortsettings())
            return;
        if (dlg::MsgBox(QStringLiteral("The Radio control port was not open.  The settings have been changed.  Do you "
                                       "want the port, Comm ")
                            + port_ + QStringLiteral(", opened?"),
                        dlg::YesNo, portOptions)
            == dlg::Yes) {
            APIResult = RigNumber(QStringLiteral("PortOpen"), true);
            if (APIResult == 0)
                return;
        }
        // The component now runs with the new settings: they are stored whether or not the
        // port is opened, so the next start uses what is in force now.
        saved = doSaveSettings();
    }
    if (saved)
        accept();
}
