#include "core/rtty/frmaddprofile.h"

#include "core/rtty/rtty_link.h"
#include "platform/vb/text1252.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/screen_fit.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/mmtty_block.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

namespace {

constexpr int kSlotBytes = 32;
constexpr int kLongestName = 30;
constexpr int kHighestSlot = 15;

bool validSlot()
{
    return ProfileSlot >= 0 && ProfileSlot <= kHighestSlot;
}

} // namespace

QByteArray ProfileSlotBytes(const QString& name)
{
    QByteArray bytes;
    for (const char32_t c : name.toUcs4()) {
        const int b = c <= 0xFFFF ? cp1252::byteOf(QChar(static_cast<char16_t>(c))) : -1;
        bytes.append(static_cast<char>(b < 0 ? '?' : b));
    }
    bytes.truncate(kSlotBytes - 1);
    bytes.append('\0');
    return bytes.leftJustified(kSlotBytes, ' ');
}

frmAddProfile::frmAddProfile(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAddProfile"));
    setWindowTitle(QStringLiteral("Add/Modify Profile"));
    auto* column = new QVBoxLayout(this);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaxLength(kLongestName);
    Text1->setMinimumWidth(Text1->fontMetrics().horizontalAdvance(QString(kLongestName, u'W')) / 2);
    column->addWidget(Text1);
    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    column->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &frmAddProfile::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmAddProfile::Command2_Click);
    Form_Load();
}

void frmAddProfile::Form_Load()
{
    CentreOnScreen(*this);
    if (!validSlot())
        return;
    QString name = ProfileNames[static_cast<size_t>(ProfileSlot)];
    if (const qsizetype nul = name.indexOf(QChar(0)); nul >= 0)
        name.truncate(nul);
    Text1->setText(name);
}

void frmAddProfile::Command1_Click()
{
    if (validSlot()) {
        const int slot = ProfileSlot;
        const QByteArray bytes = ProfileSlotBytes(Text1->text());
        if (MMTTYView)
            std::memcpy(MMTTYView + mmtty::kProfileNames + mmtty::kProfileStride * slot, bytes.constData(), kSlotBytes);
        ProfileNames[static_cast<size_t>(slot)] = cp1252::decode(bytes);
        // The menus show the name as the engine keeps it.
        ShowProfileName(slot, cp1252::decode(bytes.left(bytes.indexOf('\0'))));
        PostMMTTY(24, 65536 + slot);
    }
    accept();
}

void frmAddProfile::Command2_Click()
{
    reject();
}

void ShowAddProfile()
{
    frmAddProfile dialog(MainWindowWidget());
    dlg::ShowModal(dialog);
}
