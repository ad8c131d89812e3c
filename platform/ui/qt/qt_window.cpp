#include "platform/ui/qt/qt_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTextCursor>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTabBar>
#include <QTreeWidget>

namespace kit::ui::qt {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

// Dialog-style texts mark the access key with "&"; Qt does the same, but "&&" stays.
QString Caption(const std::string& s) { return Q(s); }

void SetWhite(QWidget* w, bool white) {
  w->setAutoFillBackground(white);
  if (white) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    w->setPalette(p);
  }
}

// A focus-in on any control widget tells the dialog which control has the focus.
class FocusFilter : public QObject {
 public:
  FocusFilter(QObject* parent, std::function<void()> onFocus) : QObject(parent), m_onFocus(std::move(onFocus)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::OtherFocusReason && reason != Qt::ActiveWindowFocusReason) m_onFocus();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> m_onFocus;
};

}  // namespace

// --- WindowWidget -------------------------------------------------------------------------

WindowWidget::WindowWidget(Host& host, WindowHandle handle, QWidget* parent)
    : QWidget(parent), m_host(host), m_handle(handle) {}

void WindowWidget::keyPressEvent(QKeyEvent* event) {
  Dialog* d = m_host.find(m_handle);
  if (!d) return;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // Multi-line edits take Enter as text.
    if (auto* edit = qobject_cast<QPlainTextEdit*>(focusWidget()); edit && !edit->isReadOnly()) return;
    d->userKey(Key::Enter);
  } else if (event->key() == Qt::Key_Escape) {
    d->userKey(Key::Escape);
  } else if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::AltModifier) && !d->systemMenu().empty()) {
    // The window manager's own menu cannot take items, so Alt+Space shows the items the
    // dialog added to its system menu.
    QMenu menu(this);
    for (const auto& item : d->systemMenu()) {
      if (item.command == 0) {
        menu.addSeparator();
      } else {
        menu.addAction(Q(item.text))->setData(item.command);
      }
    }
    if (QAction* chosen = menu.exec(mapToGlobal(QPoint(0, 0)))) {
      if (Dialog* again = m_host.find(m_handle)) again->userSystemCommand(chosen->data().toInt());
    }
  } else {
    QWidget::keyPressEvent(event);
  }
}

bool WindowWidget::focusNextPrevChild(bool next) {
  // Tab follows the dialog's own order (template order, one stop per radio group); the
  // dialog's focus change moves the Qt focus. Shift+Tab stays Qt's.
  Dialog* d = m_host.find(m_handle);
  if (!next || !d) return QWidget::focusNextPrevChild(next);
  d->userKey(Key::Tab);
  return true;
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  // The dialog decides; the host destroys the widget when the dialog ends.
  event->ignore();
  if (Dialog* d = m_host.find(m_handle)) d->userClose();
}

void WindowWidget::contextMenuEvent(QContextMenuEvent* event) {
  Dialog* d = m_host.find(m_handle);
  if (!d) return;
  int id = 0;
  if (QWidget* child = childAt(event->pos())) {
    for (QWidget* w = child; w && w != this; w = w->parentWidget()) {
      const QVariant v = w->property("kitControlId");
      if (v.isValid()) {
        id = v.toInt();
        break;
      }
    }
  }
  d->userContextMenu(id, Point{event->pos().x(), event->pos().y()});
}

// --- QtWindow -------------------------------------------------------------------------------

QtWindow::QtWindow(Host& host, Dialog& dialog, QWidget* parentWidget)
    : m_host(host),
      m_handle(dialog.handle()),
      m_font(MakeFont(dialog.dialogTemplate().font)),
      m_units(m_font),
      m_widget(new WindowWidget(host, dialog.handle(), parentWidget)) {
  const auto& t = dialog.dialogTemplate();
  m_widget->setFont(m_font);
  m_widget->setFixedSize(m_units.x(t.width), m_units.y(t.height));
  if (!parentWidget) m_widget->setAttribute(Qt::WA_DeleteOnClose, false);
  for (const auto& c : dialog.controls()) m_controls.push_back(makeControl(c));
  // Group boxes and frames stay behind the controls they surround.
  for (std::size_t i = 0; i < m_controls.size(); ++i) {
    const auto kind = dialog.controls()[i].kind;
    if (kind == ControlKind::GroupBox || kind == ControlKind::PageArea) m_controls[i]->lower();
  }
  for (std::size_t i = 0; i < m_controls.size(); ++i) refreshControl(i);
  refreshWindow();
}

QtWindow::~QtWindow() {
  if (m_widget) {
    m_widget->hide();
    m_widget->deleteLater();  // a widget signal may still be on the stack
  }
}

int QtWindow::indexOf(int id) const {
  const Dialog* d = m_host.find(m_handle);
  if (!d) return -1;
  const auto& controls = d->controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].id == id && id != kNoId) return static_cast<int>(i);
  }
  return -1;
}

QWidget* QtWindow::controlWidget(int id) const {
  if (id == 0) return m_widget;
  const int index = indexOf(id);
  return index < 0 ? nullptr : m_controls[static_cast<std::size_t>(index)];
}

void QtWindow::act(int id, const std::function<void(Dialog&)>& action) {
  Dialog* d = m_host.find(m_handle);
  if (!d) return;
  action(*d);
  // The action may have destroyed this window; the host's lookup tells.
  if (m_host.find(m_handle) == d && d->isCreated()) refresh(id);
}

QWidget* QtWindow::makeControl(const ControlState& c) {
  QWidget* w = nullptr;
  const int id = c.id;
  switch (c.kind) {
    case ControlKind::StaticText: {
      auto* label = new QLabel(m_widget);
      label->setWordWrap(true);
      label->setAlignment(((c.style & kCentered) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
      if (c.style & kSunken) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      w = label;
      break;
    }
    case ControlKind::GroupBox:
      w = new QGroupBox(m_widget);
      break;
    case ControlKind::Picture: {
      auto* label = new QLabel(m_widget);
      label->setFrameStyle(QFrame::Box | QFrame::Plain);
      label->setAlignment(Qt::AlignCenter);
      w = label;
      break;
    }
    case ControlKind::EtchedLine: {
      auto* line = new QFrame(m_widget);
      line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
      w = line;
      break;
    }
    case ControlKind::PushButton: {
      auto* button = new QPushButton(m_widget);
      button->setAutoDefault(false);
      QObject::connect(button, &QPushButton::clicked, m_widget, [this, id] { act(id, [id](Dialog& d) { d.userClick(id); }); });
      w = button;
      break;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(m_widget);
      QObject::connect(box, &QCheckBox::clicked, m_widget, [this, id] { act(id, [id](Dialog& d) { d.userClick(id); }); });
      w = box;
      break;
    }
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(m_widget);
      radio->setAutoExclusive(false);  // the dialog keeps the groups
      QObject::connect(radio, &QRadioButton::clicked, m_widget, [this, id] { act(id, [id](Dialog& d) { d.userClick(id); }); });
      w = radio;
      break;
    }
    case ControlKind::Edit:
      if (c.style & kMultiLine) {
        auto* edit = new QPlainTextEdit(m_widget);
        edit->setTabChangesFocus(true);  // Tab moves on, as in every dialog
        if (!(c.style & kScrollBars)) edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QObject::connect(edit, &QPlainTextEdit::textChanged, m_widget, [this, id, edit] {
          const std::string text = S(edit->toPlainText());
          act(id, [id, text](Dialog& d) { d.userType(id, text); });
        });
        w = edit;
      } else {
        auto* edit = new QLineEdit(m_widget);
        QObject::connect(edit, &QLineEdit::textEdited, m_widget, [this, id](const QString& text) {
          act(id, [id, t = S(text)](Dialog& d) { d.userType(id, t); });
        });
        w = edit;
      }
      break;
    case ControlKind::IpAddress: {
      auto* edit = new QLineEdit(m_widget);
      edit->setValidator(new QRegularExpressionValidator(
          QRegularExpression(QStringLiteral("^([0-9]{0,3}(\\.[0-9]{0,3}){0,3})$")), edit));
      edit->setPlaceholderText(QStringLiteral("   .   .   .   "));
      QObject::connect(edit, &QLineEdit::textEdited, m_widget, [this, id](const QString& text) {
        act(id, [id, t = S(text)](Dialog& d) { d.userType(id, t); });
      });
      w = edit;
      break;
    }
    case ControlKind::DropDownList:
    case ControlKind::EditableDropDown: {
      auto* combo = new QComboBox(m_widget);
      combo->setEditable(c.kind == ControlKind::EditableDropDown);
      combo->setInsertPolicy(QComboBox::NoInsert);
      QObject::connect(combo, &QComboBox::activated, m_widget,
                       [this, id](int index) { act(id, [id, index](Dialog& d) { d.userSelect(id, index); }); });
      if (combo->lineEdit()) {
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, m_widget, [this, id](const QString& text) {
          act(id, [id, t = S(text)](Dialog& d) { d.userType(id, t); });
        });
      }
      w = combo;
      break;
    }
    case ControlKind::ListBox: {
      auto* list = new QListWidget(m_widget);
      QObject::connect(list, &QListWidget::currentRowChanged, m_widget, [this, id](int row) {
        if (row >= 0) act(id, [id, row](Dialog& d) { d.userSelect(id, row); });
      });
      QObject::connect(list, &QListWidget::itemDoubleClicked, m_widget, [this, id, list](QListWidgetItem* item) {
        const int row = list->row(item);
        act(id, [id, row](Dialog& d) { d.userDoubleClick(id, row); });
      });
      w = list;
      break;
    }
    case ControlKind::ListView: {
      auto* view = new QTreeWidget(m_widget);
      view->setRootIsDecorated(false);
      view->setUniformRowHeights(true);
      view->setSelectionMode(QAbstractItemView::SingleSelection);
      view->setSelectionBehavior((c.style & kFullRowSelect) ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
      view->setIconSize(QSize(16, 16));
      if (c.style & kGridLines) view->setStyleSheet(QStringLiteral("QTreeView::item { border: 1px solid #d0d0d0; }"));
      QObject::connect(view, &QTreeWidget::itemSelectionChanged, m_widget, [this, id, view] {
        const auto items = view->selectedItems();
        if (items.isEmpty()) return;
        const int row = view->indexOfTopLevelItem(items.front());
        act(id, [id, row](Dialog& d) { d.userSelect(id, row); });
      });
      QObject::connect(view, &QTreeWidget::itemDoubleClicked, m_widget, [this, id, view](QTreeWidgetItem* item, int) {
        const int row = view->indexOfTopLevelItem(item);
        act(id, [id, row](Dialog& d) { d.userDoubleClick(id, row); });
      });
      w = view;
      break;
    }
    case ControlKind::Slider: {
      auto* slider = new QSlider(Qt::Horizontal, m_widget);
      slider->setTickPosition(QSlider::TicksBelow);
      QObject::connect(slider, &QSlider::valueChanged, m_widget,
                       [this, id](int value) { act(id, [id, value](Dialog& d) { d.userSlide(id, value); }); });
      w = slider;
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(m_widget);
      bar->setTextVisible(false);
      w = bar;
      break;
    }
    case ControlKind::PageArea: {
      auto* frame = new QFrame(m_widget);
      frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
      auto* tabs = new QTabBar(frame);
      tabs->setObjectName(QStringLiteral("kitTabs"));
      tabs->setDrawBase(false);
      QObject::connect(tabs, &QTabBar::currentChanged, m_widget, [this, id](int index) {
        if (index >= 0) act(id, [id, index](Dialog& d) { d.userSelectPage(id, index); });
      });
      w = frame;
      break;
    }
  }
  w->setProperty("kitControlId", id);
  if (c.kind != ControlKind::StaticText && c.kind != ControlKind::GroupBox && c.kind != ControlKind::Picture &&
      c.kind != ControlKind::EtchedLine && c.kind != ControlKind::ProgressBar) {
    auto* filter = new FocusFilter(w, [this, id] { act(id, [id](Dialog& d) { d.userFocus(id); }); });
    w->installEventFilter(filter);
    for (auto* child : w->findChildren<QWidget*>()) child->installEventFilter(filter);
  }
  // Context menus of the controls are the dialog's (a right click reaches the window).
  w->setContextMenuPolicy(Qt::NoContextMenu);
  for (auto* child : w->findChildren<QWidget*>()) child->setContextMenuPolicy(Qt::NoContextMenu);
  return w;
}

void QtWindow::refresh(int id) {
  const int index = indexOf(id);
  if (index >= 0) refreshControl(static_cast<std::size_t>(index));
}

void QtWindow::place(const ControlState& c, QWidget* w) {
  QRect r = m_units.rect(c.rect);
  if (c.kind == ControlKind::DropDownList || c.kind == ControlKind::EditableDropDown) {
    r.setHeight(std::min(r.height(), w->sizeHint().height()));  // the rectangle includes the dropped list
  }
  if (c.kind == ControlKind::EtchedLine) r.setHeight(std::max(r.height(), 2));
  w->setGeometry(r);
  if (c.kind == ControlKind::PageArea) {
    auto* tabs = w->findChild<QTabBar*>(QStringLiteral("kitTabs"));
    tabs->setGeometry(0, 0, r.width(), tabs->sizeHint().height());
  }
}

void QtWindow::scrollToEnd(int id) {
  QWidget* w = controlWidget(id);
  if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
    edit->moveCursor(QTextCursor::End);
    edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
  } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
    view->scrollToBottom();
  }
}

void QtWindow::refreshControl(std::size_t index) {
  Dialog* d = m_host.find(m_handle);
  if (!d || index >= m_controls.size() || index >= d->controls().size()) return;
  const ControlState& c = d->controls()[index];
  QWidget* w = m_controls[index];
  const QSignalBlocker block(w);
  place(c, w);
  w->setEnabled(c.enabled);
  w->setVisible(c.visible);
  w->setToolTip(Q(c.tooltip));
  w->setFont(c.font ? MakeFont(*c.font) : m_font);
  SetWhite(w, c.whiteBackground);
  switch (c.kind) {
    case ControlKind::StaticText:
      static_cast<QLabel*>(w)->setText(Q(c.text));
      break;
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(w)->setTitle(Caption(c.text));
      break;
    case ControlKind::Picture: {
      auto* label = static_cast<QLabel*>(w);
      QPixmap image(Q(c.text));
      if (!image.isNull()) {
        label->setPixmap(image.scaled(w->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
      } else {
        label->setText(QString());
      }
      break;
    }
    case ControlKind::EtchedLine:
    case ControlKind::PageArea:
      break;
    case ControlKind::PushButton: {
      auto* button = static_cast<QPushButton*>(w);
      button->setText(Caption(c.text));
      button->setDefault((c.style & kDefaultButton) != 0);
      break;
    }
    case ControlKind::CheckBox:
      static_cast<QCheckBox*>(w)->setText(Caption(c.text));
      static_cast<QCheckBox*>(w)->setChecked(c.checked);
      break;
    case ControlKind::RadioButton:
      static_cast<QRadioButton*>(w)->setText(Caption(c.text));
      static_cast<QRadioButton*>(w)->setChecked(c.checked);
      break;
    case ControlKind::Edit:
      if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        if (S(multi->toPlainText()) != c.text) multi->setPlainText(Q(c.text));
        multi->setReadOnly(c.readOnly);
      } else {
        auto* edit = static_cast<QLineEdit*>(w);
        if (S(edit->text()) != c.text) edit->setText(Q(c.text));
        edit->setReadOnly(c.readOnly);
        edit->setMaxLength(c.textLimit > 0 ? c.textLimit : 32767);
        if (c.style & kNumberOnly) {
          if (!edit->validator())
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9]*$")), edit));
        }
      }
      break;
    case ControlKind::IpAddress: {
      auto* edit = static_cast<QLineEdit*>(w);
      if (S(edit->text()) != c.text) edit->setText(Q(c.text));
      break;
    }
    case ControlKind::DropDownList:
    case ControlKind::EditableDropDown: {
      auto* combo = static_cast<QComboBox*>(w);
      const QSignalBlocker blockEdit(combo->lineEdit());
      bool same = combo->count() == static_cast<int>(c.items.size());
      for (int i = 0; same && i < combo->count(); ++i) same = S(combo->itemText(i)) == c.items[static_cast<std::size_t>(i)];
      if (!same) {
        combo->clear();
        for (const auto& item : c.items) combo->addItem(Q(item));
      }
      combo->setCurrentIndex(c.selection);
      if (combo->isEditable() && S(combo->currentText()) != c.text) combo->setEditText(Q(c.text));
      break;
    }
    case ControlKind::ListBox: {
      auto* list = static_cast<QListWidget*>(w);
      bool same = list->count() == static_cast<int>(c.items.size());
      for (int i = 0; same && i < list->count(); ++i) same = S(list->item(i)->text()) == c.items[static_cast<std::size_t>(i)];
      if (!same) {
        list->clear();
        for (const auto& item : c.items) list->addItem(Q(item));
      }
      list->setCurrentRow(c.selection);
      break;
    }
    case ControlKind::ListView: {
      auto* view = static_cast<QTreeWidget*>(w);
      view->setColumnCount(std::max<int>(1, static_cast<int>(c.columns.size())));
      QStringList titles;
      for (const auto& col : c.columns) titles << Q(col.title);
      view->setHeaderLabels(titles);
      for (std::size_t i = 0; i < c.columns.size(); ++i) view->setColumnWidth(static_cast<int>(i), c.columns[i].width);
      view->clear();
      const QIcon icon = view->style()->standardIcon(QStyle::SP_ComputerIcon);
      for (const auto& row : c.rows) {
        auto* item = new QTreeWidgetItem(view);
        for (std::size_t col = 0; col < row.cells.size(); ++col) item->setText(static_cast<int>(col), Q(row.cells[col]));
        if (row.icon >= 0) item->setIcon(0, icon);
      }
      if (c.selection >= 0 && c.selection < view->topLevelItemCount())
        view->setCurrentItem(view->topLevelItem(c.selection));
      break;
    }
    case ControlKind::Slider: {
      auto* slider = static_cast<QSlider*>(w);
      slider->setRange(c.rangeMin, c.rangeMax);
      slider->setValue(c.position);
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = static_cast<QProgressBar*>(w);
      bar->setRange(c.rangeMin, c.rangeMax);
      bar->setValue(c.position);
      break;
    }
  }
  if (c.kind == ControlKind::PageArea) {
    auto* tabs = w->findChild<QTabBar*>(QStringLiteral("kitTabs"));
    const QSignalBlocker blockTabs(tabs);
    while (tabs->count() > static_cast<int>(c.pages.size())) tabs->removeTab(tabs->count() - 1);
    for (std::size_t i = 0; i < c.pages.size(); ++i) {
      if (static_cast<int>(i) < tabs->count()) {
        tabs->setTabText(static_cast<int>(i), Q(c.pages[i].caption));
      } else {
        tabs->addTab(Q(c.pages[i].caption));
      }
    }
    tabs->setCurrentIndex(c.selection);
    tabs->setEnabled(c.enabled);
  }
}

void QtWindow::refreshWindow() {
  Dialog* d = m_host.find(m_handle);
  if (!d || !m_widget) return;
  m_widget->setWindowTitle(Q(d->caption()));
  m_widget->setEnabled(d->isWindowEnabled());
  SetWhite(m_widget, d->whiteBackground());
  if (d->dialogTemplate().flags & kChildWindow) {
    const Dialog* parent = d->parentWindow();
    const DialogUnits parentUnits(parent ? MakeFont(parent->dialogTemplate().font) : m_font);
    m_widget->move(parentUnits.x(d->position().x), parentUnits.y(d->position().y));
    m_widget->setVisible(d->isWindowShown());
    if (d->isWindowShown()) m_widget->raise();
  } else if (!d->isModal()) {
    m_widget->setVisible(d->isWindowShown());  // forms are shown and hidden by the program
  }
}

void QtWindow::focus(int id) {
  if (QWidget* w = controlWidget(id); w && !w->hasFocus()) w->setFocus(Qt::OtherFocusReason);
}

}  // namespace kit::ui::qt
