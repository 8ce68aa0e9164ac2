#include "core/radio/frmserialport.h"

#include "core/radio/ptt.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "settings/inistuff.h"
#include "state/declarations.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

frmSerialPort::frmSerialPort(QWidget* parent) : QDialog(parent)
{
    build();
    Form_Load();
}

void frmSerialPort::build()
{
    setObjectName(QStringLiteral("frmSerialPort"));
    setWindowTitle(QStringLiteral("Radio PTT selection"));
    auto* column = new QVBoxLayout(this);
    auto radio = [](QWidget* parent, QLayout* layout, const QString& caption, const QString& name) {
        auto* b = new QRadioButton(caption, parent);
        b->setObjectName(name);
        layout->addWidget(b);
        return b;
    };

    Frame3 = new QGroupBox(QStringLiteral(" Keying options "), this);
    auto* modes = new QVBoxLayout(Frame3);
    Option4 = radio(Frame3, modes, QStringLiteral("PTT by Serial Port"), QStringLiteral("Option4"));
    Option6 = radio(Frame3, modes, QStringLiteral("PTT by Radio Command"), QStringLiteral("Option6"));
    Option7 = radio(Frame3, modes, QStringLiteral("PTT by Shared Radio Port"), QStringLiteral("Option7"));

    Frame2 = new QGroupBox(QStringLiteral(" PTT Keying line "), this);
    auto* lines = new QVBoxLayout(Frame2);
    Option2 = radio(Frame2, lines, QStringLiteral("RTS Keying only"), QStringLiteral("Option2"));
    Option3 = radio(Frame2, lines, QStringLiteral("DTR Keying only"), QStringLiteral("Option3"));
    Option5 = radio(Frame2, lines, QStringLiteral("RTS +  DTR Keying"), QStringLiteral("Option5"));

    Frame1 = new QGroupBox(QStringLiteral(" Serial Port "), this);
    auto* ports = new QGridLayout(Frame1);
    for (int i = 0; i <= 8; ++i) {
        auto* b = new QRadioButton(i == 0 ? QStringLiteral("None") : QStringLiteral("Com %1").arg(i), Frame1);
        b->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        ports->addWidget(b, i % 3, i / 3);
        Option1[static_cast<std::size_t>(i)] = b;
        connect(b, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }

    column->addWidget(Frame3);
    column->addWidget(Frame2);
    column->addWidget(Frame1);
    auto* buttons = new QHBoxLayout;
    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    buttons->addStretch(1);
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    column->addLayout(buttons);

    connect(Option2, &QRadioButton::clicked, this, &frmSerialPort::Option2_Click);
    connect(Option3, &QRadioButton::clicked, this, &frmSerialPort::Option3_Click);
    connect(Option4, &QRadioButton::clicked, this, &frmSerialPort::Option4_Click);
    connect(Option5, &QRadioButton::clicked, this, &frmSerialPort::Option5_Click);
    connect(Option6, &QRadioButton::clicked, this, &frmSerialPort::Option6_Click);
    connect(Option7, &QRadioButton::clicked, this, &frmSerialPort::Option7_Click);
    connect(OK, &QPushButton::clicked, this, &frmSerialPort::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &frmSerialPort::Cancel_Click);
}

void frmSerialPort::select(QRadioButton* option)
{
    if (!option)
        return;
    option->setChecked(true);
    if (option == Option2)
        Option2_Click();
    else if (option == Option3)
        Option3_Click();
    else if (option == Option4)
        Option4_Click();
    else if (option == Option5)
        Option5_Click();
    else if (option == Option6)
        Option6_Click();
    else if (option == Option7)
        Option7_Click();
    else
        for (int i = 0; i <= 8; ++i)
            if (option == Option1[static_cast<std::size_t>(i)])
                Option1_Click(i);
}

// A port number that the dialog does not offer selects "None".
void frmSerialPort::selectPort(int port)
{
    select(Option1[static_cast<std::size_t>(port >= 0 && port <= 8 ? port : 0)]);
}

void frmSerialPort::framesEnabled(bool on)
{
    Frame1->setEnabled(on);
    Frame2->setEnabled(on);
}

void frmSerialPort::Form_Load()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
    line_ = PTTKeyingLine;
    mode_ = PTTMode;
    selectPort(PTTPortNum);
    if (PTTKeyingLine == QLatin1String("RTS"))
        select(Option2);
    else if (PTTKeyingLine == QLatin1String("DTR"))
        select(Option3);
    else if (PTTKeyingLine == QLatin1String("RTS & DTR"))
        select(Option5);
    if (PTTMode == QLatin1String("Serial Port"))
        select(Option4);
    else if (PTTMode == QLatin1String("By Command"))
        select(Option6);
    else if (PTTMode == QLatin1String("By Shared Port"))
        select(Option7);
}

void frmSerialPort::Option1_Click(int index)
{
    port_ = index;
}

void frmSerialPort::Option2_Click()
{
    line_ = QStringLiteral("RTS");
}

void frmSerialPort::Option3_Click()
{
    line_ = QStringLiteral("DTR");
}

void frmSerialPort::Option5_Click()
{
    line_ = QStringLiteral("RTS & DTR");
}

void frmSerialPort::Option4_Click()
{
    mode_ = QStringLiteral("Serial Port");
    framesEnabled(true);
    selectPort(PTTPortNum);
}

void frmSerialPort::Option6_Click()
{
    mode_ = QStringLiteral("By Command");
    select(Option1[0]);
    framesEnabled(false);
}

void frmSerialPort::Option7_Click()
{
    mode_ = QStringLiteral("By Shared Port");
    select(Option1[0]);
    framesEnabled(false);
}

void frmSerialPort::OK_Click()
{
    if (port_ >= 1 && port_ == vb::Val(RadioPortNumber)) {
        dlg::MsgBox(QStringLiteral("There is a conflict.  You have both the dedicated PTT serial port, and the Radio "
                                   "control serial port set to Comm ")
                        + RadioPortNumber + QStringLiteral(", this isn't going to work."),
                    dlg::OKOnly, QStringLiteral("No can do..."));
        return;
    }
    const QString ptt = QStringLiteral("PTT");
    PTTPortNum = port_;
    WriteINI(ptt, QStringLiteral("PTT Port Num"), QString::number(PTTPortNum));
    PTTKeyingLine = vb::Trim(line_);
    WriteINI(ptt, QStringLiteral("PTT Keying Line"), PTTKeyingLine);
    PTTMode = vb::Trim(mode_);
    WriteINI(ptt, QStringLiteral("PTT Mode"), PTTMode);
    doPTTSetup();
    accept();
}

void frmSerialPort::Cancel_Click()
{
    reject();
}
