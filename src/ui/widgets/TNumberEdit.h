#pragma once

#include <QSpinBox>

namespace dolvane {

// A right-aligned whole-number field. It asks input methods for digits, and takes the full-width
// digits one still commits ("５０" while kana input is on) as the digits they are.
class TNumberEdit final : public QSpinBox {
public:
    TNumberEdit(const char* name, int minimum, int maximum, QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

}  // namespace dolvane
