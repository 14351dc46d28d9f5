// The program's window on a QWidget, built from the design table: a frameless window of fixed size,
// centred on the screen, its surface painted with the picture and the decoration, and every
// control at its place with its text, tooltip, font, colours and tab position, each behind its
// platform interface. It also is the Window.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include <QWidget>

#include "platform/button.h"
#include "platform/combo_box.h"
#include "platform/control_design.h"
#include "platform/label.h"
#include "platform/list_box.h"
#include "platform/qt/form_painter.h"
#include "platform/text_box.h"
#include "platform/window.h"

namespace plumwick {

class QtForm final : public QWidget, public Window {
  Q_OBJECT
 public:
  // Throws Failure when the window's picture cannot be loaded.
  QtForm(const WindowDesign& window, std::span<const ControlDesign> controls);
  ~QtForm() override;

  // The control of the design with that name; throws Failure when there is no such control.
  TextBox& text_box(const std::string& name);
  Button& button(const std::string& name);
  ListBox& list_box(const std::string& name);
  ComboBox& combo_box(const std::string& name);
  Label& label(const std::string& name);

  void ShowAndActivate() override;
  // Ends the process at once, after the last step.
  [[noreturn]] void End() override;
  // What must still be done when the program ends at once, which skips every destructor.
  void OnEnd(std::function<void()> last_step) { last_step_ = std::move(last_step); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The desktop closing the window (a window manager's close, say) ends the program as the exit
  // button does, without its cue: a hidden window would leave the process behind, and a handler
  // waiting in Pause would go on typing.
  void closeEvent(QCloseEvent* event) override;
  // Alt+F4 is the desktop's close under most window managers, which take the key before the
  // window sees it. One that lets it through (openbox does now and then under load) leaves the
  // user's close to the window: it closes as if the window manager had closed it, whichever of
  // its controls has the focus (the status box would take the key for itself).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* MakeControl(const ControlDesign& design);
  void CentreOnScreen();

  template <typename Interface>
  Interface& Find(const std::map<std::string, std::unique_ptr<Interface>>& controls,
                  const std::string& name);

  FormPainter painter_;
  std::map<std::string, std::unique_ptr<TextBox>> text_boxes_;
  std::map<std::string, std::unique_ptr<Button>> buttons_;
  std::map<std::string, std::unique_ptr<ListBox>> list_boxes_;
  std::map<std::string, std::unique_ptr<ComboBox>> combo_boxes_;
  std::map<std::string, std::unique_ptr<Label>> labels_;
  std::function<void()> last_step_;
};

}  // namespace plumwick
