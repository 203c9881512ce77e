#pragma once

#include "win32/native_control.h"

namespace morvane::win32 {

// What edit boxes, spin boxes and memos share: typed text is the model's only once committed,
// when the field loses the focus, on Enter (one-line fields), or before any other user action.
class TextFieldView : public NativeControl {
  public:
    using NativeControl::NativeControl;
    void command(WORD code) override;
    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT afterMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT result) override;

  protected:
    // The edit box, at `rect` (by default the control's placement).
    HWND createEdit(HWND parent, DWORD style, const std::string& text, const RECT* rect = nullptr);
    virtual bool commitsOnEnter() const { return true; }
    // The keyboard filter for typed characters (not for pasted text).
    virtual bool acceptsKey(wchar_t /*key*/) const { return true; }
};

// A one-line edit box: a commit runs Edit::setText with the native text.
class EditView : public TextFieldView {
  public:
    using TextFieldView::TextFieldView;
    void create(HWND parent) override;
    void update() override;
    void commit() override;
};

// A spin box: an edit box with an up-down control beside it. Its arrows and the Up and Down
// keys step the model (SpinBox::userStep); typed text is committed through SpinBox::setText and
// the edit box then shows the model's text form. The arrows have no buddy: the keys are the
// edit box's own.
class SpinBoxView : public TextFieldView {
  public:
    using TextFieldView::TextFieldView;
    HWND spinButton() const override { return arrows_; }
    void create(HWND parent) override;
    void update() override;
    void layout() override;
    void commit() override;
    std::optional<LRESULT> notify(const NMHDR& header) override;
    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    bool acceptsKey(wchar_t key) const override;

  private:
    // The edit box and the arrows in the control's rectangle.
    std::pair<RECT, RECT> parts() const;
    void step(int count);

    HWND arrows_ = nullptr;
};

// A multi-line text box; one that fills its parent takes the parent's client area.
class MemoView : public TextFieldView {
  public:
    using TextFieldView::TextFieldView;
    void create(HWND parent) override;
    void update() override;
    void commit() override;

  protected:
    RECT placement() const override;
    bool commitsOnEnter() const override { return false; }
};

}  // namespace morvane::win32
