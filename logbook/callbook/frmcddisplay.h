#pragma once
// The callbook window: the station found by a callbook look-up, as text, captioned with the call
// sign. Its place, size, font and colours are kept in [CD Lookup].
#include <QHash>
#include <QMainWindow>
#include <cstdint>

class MenuItem;
class QLabel;
class QPlainTextEdit;

class frmCDDisplay : public QMainWindow {
    Q_OBJECT
public:
    ~frmCDDisplay() override;

    // The loaded window, or null.
    static frmCDDisplay* existing();
    // The window, loaded (with its settings) on first use.
    static frmCDDisplay& instance();

    // Shows the window modeless, owned by the main window.
    void showOwned();
    void setText(const QString& text);
    QString text() const;
    // The caption of the panel under the text (the QSL route of a HamCall record).
    void setPanelCaption(const QString& caption);
    QString panelCaption() const;
    MenuItem& mnu(const QString& name);

    // Reads and applies the window's settings.
    void doINIStuff();
    void Form_Unload();
    // Unloads the window: its geometry is stored and the window goes.
    void Unload();

    void mnuExit_Click();
    void mnuFont_Click();
    void mnuBackground_Click();
    void Text_GotFocus();

    QPlainTextEdit* Text = nullptr;
    QWidget* vsElastic1 = nullptr;
    QWidget* vsElastic2 = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    explicit frmCDDisplay(QWidget* owner);
    void applyColours();

    QHash<QString, MenuItem*> menus_;
    QLabel* panelCaption_ = nullptr;
    std::int32_t backColor_ = 16777215;
    std::int32_t textColor_ = 0;
    bool unloaded_ = false;
    bool storedPlace_ = false; // the settings held the window's place
};
