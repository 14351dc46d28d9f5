// The program's window on a QWidget, built from the design table.
#include "platform/qt/qt_form.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScreen>

#include "platform/failure.h"
#include "platform/qt/design_colours.h"
#include "platform/qt/design_fonts.h"
#include "platform/qt/qt_button.h"
#include "platform/qt/qt_combo_box.h"
#include "platform/qt/qt_label.h"
#include "platform/qt/qt_list_box.h"
#include "platform/qt/qt_text_box.h"
#include "platform/qt/skin_button.h"

namespace plumwick {

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtForm::QtForm(const WindowDesign& window, std::span<const ControlDesign> controls)
    : painter_(window, QApplication::palette()) {
  setObjectName(ToQString(window.name));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setWindowTitle(ToQString(window.caption));
  setWindowIcon(QIcon(ToQString(window.icon)));
  setFixedSize(window.width, window.height);
  // A window's background is its palette's Window colour. It shows only where the picture ends;
  // the rest is painted over it.
  QPalette surface = palette();
  surface.setColor(QPalette::Window, painter_.Background());
  setPalette(surface);
  MapDesignFonts();

  std::vector<std::pair<int, QWidget*>> tab_order;
  // The table runs topmost first; creating in reverse leaves the first one on top.
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    QWidget* widget = MakeControl(*it);
    if (widget == nullptr || it->tab < 0) continue;
    // The label and the sound holders have a tab position too but never take the focus, and Qt
    // leaves such widgets out of the focus chain; the position stays with every control.
    widget->setProperty("tabIndex", it->tab);
    if (widget->focusPolicy() != Qt::NoFocus) tab_order.emplace_back(it->tab, widget);
  }

  std::sort(tab_order.begin(), tab_order.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < tab_order.size(); ++i) {
    setTabOrder(tab_order[i - 1].second, tab_order[i].second);
  }
  if (!tab_order.empty()) tab_order.front().second->setFocus();
  CentreOnScreen();
  // Sees a key before the control with the focus does.
  QApplication::instance()->installEventFilter(this);
}

QtForm::~QtForm() = default;

QWidget* QtForm::MakeControl(const ControlDesign& design) {
  const std::string name(design.name);
  QWidget* widget = nullptr;
  switch (design.kind) {
    case ControlKind::kTextBox: {
      auto* edit = new QLineEdit(ToQString(design.text), this);
      edit->setMaxLength(std::numeric_limits<int>::max());  // no limit of its own
      edit->setCursorPosition(0);
      text_boxes_[name] = std::make_unique<QtTextBox>(*edit);
      widget = edit;
      break;
    }
    case ControlKind::kButton: {
      auto* push = new SkinButton(ToQString(design.text), design.button.value(), this);
      buttons_[name] = std::make_unique<QtButton>(*push);
      widget = push;
      break;
    }
    case ControlKind::kListBox: {
      auto* list = new QListWidget(this);
      list_boxes_[name] = std::make_unique<QtListBox>(*list);
      widget = list;
      break;
    }
    case ControlKind::kComboBox: {
      auto* box = new QComboBox(this);
      box->setEditable(true);
      box->setEditText(ToQString(design.text));
      box->lineEdit()->setAccessibleName(ToQString(design.accessible_name));
      combo_boxes_[name] = std::make_unique<QtComboBox>(*box);
      widget = box;
      break;
    }
    case ControlKind::kLabel: {
      // Drawn on the window's surface: no background of its own, so the picture shows through.
      auto* label = new QLabel(ToQString(design.text), this);
      label->setAutoFillBackground(false);
      labels_[name] = std::make_unique<QtLabel>(*label);
      widget = label;
      break;
    }
    case ControlKind::kSoundHolder:
      // The cue plays through its QtSoundCue; the holder only keeps its place (outside the client
      // area) and its tab position, shows nothing and takes neither the focus nor the pointer.
      widget = new QWidget(this);
      widget->setFocusPolicy(Qt::NoFocus);
      widget->setAttribute(Qt::WA_TransparentForMouseEvents);
      break;
    case ControlKind::kSocket:
      return nullptr;  // the local address is looked up, not shown
  }
  widget->setObjectName(ToQString(design.name));
  widget->setGeometry(design.left, design.top, design.width, design.height);
  widget->setFont(ToQFont(design.font));
  if (design.back && design.fore) ApplyColours(*widget, *design.back, *design.fore);
  if (!design.tooltip.empty()) widget->setToolTip(ToQString(design.tooltip));
  // What a screen reader says: the name, then the tooltip as the description (Qt's lists would
  // not fall back on the tooltip by themselves).
  widget->setAccessibleName(ToQString(design.accessible_name));
  widget->setAccessibleDescription(ToQString(design.tooltip));
  return widget;
}

void QtForm::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

template <typename Interface>
Interface& QtForm::Find(const std::map<std::string, std::unique_ptr<Interface>>& controls,
                        const std::string& name) {
  const auto found = controls.find(name);
  if (found == controls.end()) {
    throw Failure(error_code::kControl, "The window has no control named \"" + name + "\"");
  }
  return *found->second;
}

TextBox& QtForm::text_box(const std::string& name) {
  return Find(text_boxes_, name);
}
Button& QtForm::button(const std::string& name) {
  return Find(buttons_, name);
}
ListBox& QtForm::list_box(const std::string& name) {
  return Find(list_boxes_, name);
}
ComboBox& QtForm::combo_box(const std::string& name) {
  return Find(combo_boxes_, name);
}
Label& QtForm::label(const std::string& name) {
  return Find(labels_, name);
}

void QtForm::ShowAndActivate() {
  show();
  raise();
  activateWindow();
}

void QtForm::End() {
  // Ending at once means no further handler runs, not even the one whose Pause is waiting under
  // this click, so the process leaves here instead of unwinding through the event loop. Everything
  // it holds, the client connection included, is the operating system's to release.
  hide();
  if (last_step_) last_step_();
  std::fflush(nullptr);
  std::_Exit(EXIT_SUCCESS);
}

void QtForm::closeEvent(QCloseEvent*) {
  End();
}

bool QtForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F4 && key->modifiers() == Qt::AltModifier) End();
  }
  return QWidget::eventFilter(watched, event);
}

void QtForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter_.Paint(painter);
}

}  // namespace plumwick
