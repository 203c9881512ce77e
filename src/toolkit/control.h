#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::ui {

// Position and size in the parent's client area, in pixels at 96 DPI.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct Font {
    std::string name;  // empty: the system's message font
    int size = 0;      // in points; 0: the default size
};

enum class Kind {
    Window,
    MainMenu,
    MenuItem,
    PageControl,
    TabControl,
    TabPage,
    Panel,
    GroupBox,
    Label,
    Button,
    Edit,
    SpinBox,
    ComboBox,
    CheckBox,
    RadioButton,
    Memo,
};

class Control;

// The view: told about every change of a control's state, whoever made it.
class ViewObserver {
  public:
    virtual ~ViewObserver() = default;
    virtual void controlChanged(Control& control) = 0;
    // A control is about to be destroyed (a run-time tab and its memo).
    virtual void controlRemoved(Control& control) = 0;
    // A control was created at run time.
    virtual void controlAdded(Control& control) = 0;
};

// A control of the window: plain state, handler fields and its children, which it owns.
// Setters report a change to the view only when the state really changed.
class Control {
  public:
    Control(Kind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Control* parent() const { return parent_; }
    const std::vector<std::unique_ptr<Control>>& children() const { return children_; }

    // Creates a child control owned by this one.
    template <typename T, typename... Args>
    T* add(Args&&... args) {
        auto child = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = child.get();
        adopt(std::move(child));
        return raw;
    }
    // Destroys a child (and its children), telling the view first.
    void destroyChild(Control* child);

    // Caption of a label, button, check box, radio button, group box, tab page or menu item;
    // the window's caption. A doubled "&" stands for one "&" on screen.
    const std::string& caption() const { return caption_; }
    void setCaption(std::string_view caption);

    Rect bounds;
    Font font;

    const std::string& hint() const { return hint_; }
    void setHint(std::string_view hint);

    // A control that the user can no longer reach by a change of these loses the keyboard
    // focus: the window then has none.
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);

    // The window this control belongs to (the root of the tree).
    Control& root();
    // The first control of that name in this subtree.
    Control* find(std::string_view name);

    void setObserver(ViewObserver* observer) { observer_ = observer; }

    // Gives this control the keyboard focus (the window remembers which control has it).
    void setFocus();
    // The control with the keyboard focus in this control's window, or nullptr.
    Control* focused() { return root().focused_; }

  protected:
    void changed();
    ViewObserver* observer();
    // Drops the window's focus when the user cannot reach the focused control any more.
    void dropUnreachableFocus();

  private:
    void adopt(std::unique_ptr<Control> child);

    Kind kind_;
    std::string name_;
    Control* parent_ = nullptr;
    std::vector<std::unique_ptr<Control>> children_;
    std::string caption_;
    std::string hint_;
    bool enabled_ = true;
    bool visible_ = true;
    ViewObserver* observer_ = nullptr;  // set on the root only
    Control* focused_ = nullptr;        // kept on the root only
};

// Plain containers and captions.
class Window : public Control {
  public:
    explicit Window(std::string name) : Control(Kind::Window, std::move(name)) {}
};

class Panel : public Control {
  public:
    explicit Panel(std::string name) : Control(Kind::Panel, std::move(name)) {}
};

class GroupBox : public Control {
  public:
    explicit GroupBox(std::string name) : Control(Kind::GroupBox, std::move(name)) {}
};

class Label : public Control {
  public:
    explicit Label(std::string name) : Control(Kind::Label, std::move(name)) {}
    bool wordWrap = false;
};

class Button : public Control {
  public:
    explicit Button(std::string name) : Control(Kind::Button, std::move(name)) {}
    std::function<void()> onClick;
    // The user clicks: the button takes the focus, then onClick runs.
    void userClick();
};

}  // namespace morvane::ui
