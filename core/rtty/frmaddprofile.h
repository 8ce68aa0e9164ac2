#pragma once
// "Add/Modify Profile": gives one RTTY engine profile slot (ProfileSlot) a name. The name goes
// into the engine's shared block and the program's copy of it, onto the slot's menu entries and
// toolbar drop-down entry, and the engine is told to keep its current settings under it.
#include <QDialog>
#include <QByteArray>

class QLineEdit;
class QPushButton;

class frmAddProfile : public QDialog {
    Q_OBJECT
public:
    explicit frmAddProfile(QWidget* parent = nullptr);

    QLineEdit* Text1 = nullptr;      // the name, at most 30 characters
    QPushButton* Command1 = nullptr; // OK
    QPushButton* Command2 = nullptr; // Cancel

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
};

// A slot's 32 bytes as the engine keeps them: the name in Windows-1252 (one byte a character; a
// character outside it becomes "?"), cut to 31 bytes, then a NUL and blanks.
QByteArray ProfileSlotBytes(const QString& name);

// Shows the dialog for ProfileSlot, modally over the main window.
void ShowAddProfile();
