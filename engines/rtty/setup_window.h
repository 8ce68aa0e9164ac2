#pragma once
// The engine's set-up window (the RTTY toolbar's "Setup" button): sound device, tones, rate,
// stop bits, AFC, PTT port and line, unshift-on-space. OK hands the settings on; the engine
// keeps them in its current profile.
#include <QDialog>

#include "engines/rtty/engine.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace rtty {

class SetupWindow : public QDialog {
    Q_OBJECT
public:
    explicit SetupWindow(const QString& title, QWidget* parent = nullptr);
    void show(const EngineSetup& s, int profile);
    EngineSetup settings() const;

signals:
    void applied(const rtty::EngineSetup& s);

private:
    QSpinBox* device_;
    QSpinBox* mark_;
    QSpinBox* shift_;
    QDoubleSpinBox* baud_;
    QComboBox* stopBits_;
    QCheckBox* afc_;
    QSpinBox* pttPort_;
    QComboBox* pttLine_;
    QCheckBox* uos_;
    QString title_;
};

} // namespace rtty
