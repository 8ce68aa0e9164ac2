#include "logbook/qso/qso_panel.h"
#include "state/main_window_controls.h"

#include <QComboBox>

void LoadBands()
{
    MainWindowControls& w = MainWindow();
    const QString text = w.BandBox->currentText();
    w.BandBox->clear();
    for (const char* band : {"2", "6", "10", "12", "15", "17", "20", "30", "40", "80", "160"})
        w.BandBox->addItem(QString::fromLatin1(band));
    w.BandBox->setEditText(text);
}
