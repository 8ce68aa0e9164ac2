#pragma once
// The About window: the program's version and the versions of the two engines.
#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    // Fills the window (title, versions, notice); runs when it is shown.
    void Form_Load();
    void cmdOK_Click();

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDLLVersion;
    QLabel* lblMMTTYVersion;
    QLabel* lblDisclaimer;
    QLabel* Image1;
    QPushButton* cmdOK;
    QString MMTTYVersion;
};

// Shows the About window modally.
void ShowAbout();
