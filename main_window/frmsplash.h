#pragma once
// The splash window shown while the program starts.
#include <QDialog>

class QFrame;
class QLabel;

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    void Form_Load();

    QFrame* Frame1;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* imgLogo;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
};
