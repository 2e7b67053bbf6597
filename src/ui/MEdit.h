// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MControlFont.h"

class QLineEdit;

namespace DUI {

class EditField;

// "MEdit": a one-line text field. Codes: 30 when it gains the focus, 29 when it loses it,
// 26 when the user changes the text (not when the program sets it), 2 on Enter. Numeric
// mode accepts digits with an optional leading minus sign. The title is the current text.
class MEdit : public MControlFont {
  public:
    MEdit();
    ~MEdit() override;

    // Digits only (and a leading '-'), or any text.
    void SetNumber(bool numeric);
    // True in numeric mode.
    bool IsNumber() const;
    // Maximum number of characters the user may type (0 = no limit). Text the program sets
    // is shown whole; the user can shorten such a text but not lengthen it.
    void SetLimitText(int maxCharacters);
    // Read-only fields still take the focus (key capture fields show what was pressed).
    void SetReadOnly(bool readOnly);
    // Grey hint shown while the field is empty.
    void SetTip(const std::string& hint);
    // The text as an integer (0 when not a number).
    int GetInt() const;
    // Sets the text to a decimal number.
    void SetInt(int value);
    // Selects the whole text.
    void SelectAll();

  protected:
    friend class EditField;
    void OnCreated() override;
    void Paint(QPainter& painter) override;
    void TitleChanged() override;
    void Resized() override;
    // Margin kept free on the right inside the field (step buttons of NumberEdit).
    virtual int RightInset() const;
    // The field widget.
    QLineEdit* Field() const;

  private:
    void ApplyValidator();
    // Lets the field hold the typing limit, or a longer text of length characters.
    void ApplyLengthLimit(int length);
    EditField* m_field = nullptr;
    bool m_numeric = false;
    int m_limit = 0;
    bool m_readOnly = false;
    std::string m_tip;
};

}  // namespace DUI
