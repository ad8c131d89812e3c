#include "platform/ui/qt/qt_host.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <cstdlib>
#include <map>
#include <set>

#include "platform/ui/dialog.h"
#include "platform/ui/qt/qt_process_setup.h"
#include "platform/ui/qt/qt_window.h"

// The font library keeps caches for the life of the process, which the leak checker of
// sanitizer builds would report at exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace kit::ui {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  PrepareQtProcess();
  static int argc = 1;
  static char name[] = "kit";
  static char* argv[] = {name, nullptr};
  // The application object lives for the rest of the process.
  new QApplication(argc, argv);
}

QMessageBox::Icon IconOf(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Warning: return QMessageBox::Warning;
    case BoxIcon::Error: return QMessageBox::Critical;
    case BoxIcon::Question: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons ButtonsOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case BoxButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
  }
}

BoxResult ResultOf(int button) {
  switch (button) {
    case QMessageBox::Ok: return BoxResult::Ok;
    case QMessageBox::Yes: return BoxResult::Yes;
    case QMessageBox::No: return BoxResult::No;
    case QMessageBox::Retry: return BoxResult::Retry;
    default: return BoxResult::Cancel;
  }
}

QString QtFilter(const std::string& filter) {
  QStringList entries;
  for (const auto& f : ParseFilter(filter)) {
    QStringList patterns;
    for (const auto& p : f.patterns) patterns << Q(p);
    entries << Q(f.label) + QStringLiteral(" (") + patterns.join(' ') + QStringLiteral(")");
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace

struct QtHost::Impl {
  std::map<WindowHandle, std::unique_ptr<qt::QtWindow>> windows;
  std::map<WindowHandle, QEventLoop*> loops;
  std::map<std::pair<WindowHandle, int>, QTimer*> timers;
  std::unique_ptr<QObject> dispatcher;
  QEventLoop* messageLoop = nullptr;
  std::set<WindowHandle> topLevel;  // modeless top-level windows

  qt::QtWindow* window(WindowHandle h) const {
    auto it = windows.find(h);
    return it == windows.end() ? nullptr : it->second.get();
  }
  QWidget* widgetOf(const Dialog* d) const {
    auto* w = d ? window(d->handle()) : nullptr;
    return w ? w->widget() : nullptr;
  }
  void killTimersOf(WindowHandle h) {
    for (auto it = timers.begin(); it != timers.end();) {
      if (it->first.first == h) {
        it->second->stop();
        it->second->deleteLater();
        it = timers.erase(it);
      } else {
        ++it;
      }
    }
  }
};

QtHost::QtHost() : m(std::make_unique<Impl>()) {
  EnsureApplication();
  m->dispatcher = std::make_unique<QObject>();
}

QtHost::~QtHost() {
  for (auto& [key, timer] : m->timers) delete timer;
  m->timers.clear();
  m->windows.clear();
}

bool QtHost::fontResolves(const std::string& family) {
  EnsureApplication();
  return QFontDatabase::families().contains(Q(family), Qt::CaseInsensitive);
}

void QtHost::processEvents() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* QtHost::widgetFor(const Dialog& dialog, int controlId) const {
  auto* w = m->window(dialog.handle());
  return w ? w->controlWidget(controlId) : nullptr;
}

// --- Windows --------------------------------------------------------------------------------

int QtHost::runModal(Dialog& dialog) {
  if (dialog.isCreated()) return -1;
  dialog.beginWindow(dialog.owner(), true);
  QWidget* ownerWidget = m->widgetOf(dialog.owner());
  auto window = std::make_unique<qt::QtWindow>(*this, dialog, nullptr);
  QWidget* widget = window->widget();
  if (ownerWidget) {
    widget->setParent(ownerWidget, Qt::Dialog);
  } else {
    widget->setWindowFlag(Qt::Dialog);
  }
  if (dialog.dialogTemplate().flags & kNoCloseBox) widget->setWindowFlag(Qt::WindowCloseButtonHint, false);
  m->windows[dialog.handle()] = std::move(window);
  dialog.initialise();
  if (!dialog.isEnded()) {
    widget->setWindowModality(Qt::ApplicationModal);
    widget->show();
    m->window(dialog.handle())->focus(dialog.focusedControl());
    QEventLoop loop;
    m->loops[dialog.handle()] = &loop;
    if (!dialog.isEnded()) loop.exec();
    m->loops.erase(dialog.handle());
  }
  m->killTimersOf(dialog.handle());
  m->windows.erase(dialog.handle());
  dialog.endWindow();
  return dialog.endCode();
}

void QtHost::modalEnded(Dialog& dialog) {
  auto it = m->loops.find(dialog.handle());
  if (it != m->loops.end()) it->second->exit(dialog.endCode());
}

bool QtHost::createWindow(Dialog& dialog, Dialog* parent) {
  const bool child = (dialog.dialogTemplate().flags & kChildWindow) != 0;
  QWidget* parentWidget = m->widgetOf(parent);
  if (child && !parentWidget) return false;
  dialog.beginWindow(child ? parent : dialog.owner(), false);
  m->windows[dialog.handle()] = std::make_unique<qt::QtWindow>(*this, dialog, child ? parentWidget : nullptr);
  if (!child) {
    m->topLevel.insert(dialog.handle());
    m->window(dialog.handle())->widget()->show();
  }
  dialog.initialise();
  if (auto* w = m->window(dialog.handle())) w->refreshWindow();
  return true;
}

void QtHost::destroyWindow(Dialog& dialog) {
  const bool child = (dialog.dialogTemplate().flags & kChildWindow) != 0;
  m->killTimersOf(dialog.handle());
  dialog.endWindow();  // destroys its pages first
  m->windows.erase(dialog.handle());
  if (!child && m->topLevel.erase(dialog.handle()) && m->topLevel.empty() && m->messageLoop) m->messageLoop->quit();
}

void QtHost::runMessageLoop() {
  if (m->topLevel.empty()) return;
  QEventLoop loop;
  m->messageLoop = &loop;
  loop.exec();
  m->messageLoop = nullptr;
}

void QtHost::controlChanged(Dialog& dialog, int controlId) {
  if (auto* w = m->window(dialog.handle())) w->refresh(controlId);
}

void QtHost::windowChanged(Dialog& dialog) {
  if (auto* w = m->window(dialog.handle())) w->refreshWindow();
}

void QtHost::scrollToEnd(Dialog& dialog, int controlId) {
  if (auto* w = m->window(dialog.handle())) w->scrollToEnd(controlId);
}

Rect QtHost::toPixels(const Dialog& dialog, Rect units) const {
  const qt::DialogUnits scale(qt::MakeFont(dialog.dialogTemplate().font));
  const QRect r = scale.rect(units);
  return Rect{r.x(), r.y(), r.width(), r.height()};
}

void QtHost::focusChanged(Dialog& dialog, int controlId) {
  if (auto* w = m->window(dialog.handle())) w->focus(controlId);
}

// --- Messages and timers ------------------------------------------------------------------

void QtHost::enqueue(const PostedMessage& message) {
  // Runs on the dispatcher's (the window) thread; Qt's queue is thread-safe.
  QMetaObject::invokeMethod(m->dispatcher.get(), [this, message] { deliver(message); }, Qt::QueuedConnection);
}

bool QtHost::setTimer(Dialog& dialog, int timerId, std::chrono::milliseconds period) {
  const auto key = std::make_pair(dialog.handle(), timerId);
  QTimer*& timer = m->timers[key];
  if (!timer) {
    timer = new QTimer();
    const WindowHandle handle = dialog.handle();
    QObject::connect(timer, &QTimer::timeout, m->dispatcher.get(), [this, handle, timerId] {
      if (Dialog* d = find(handle)) {
        Event e;
        e.kind = EventKind::Timer;
        e.controlId = timerId;
        d->dispatch(e);
      }
    });
  }
  timer->start(static_cast<int>(std::min<long long>(period.count(), 0x7FFFFFFF)));
  return true;
}

bool QtHost::killTimer(Dialog& dialog, int timerId) {
  auto it = m->timers.find(std::make_pair(dialog.handle(), timerId));
  if (it == m->timers.end()) return false;
  it->second->stop();
  it->second->deleteLater();
  m->timers.erase(it);
  return true;
}

// --- Services -------------------------------------------------------------------------------

BoxResult QtHost::messageBox(Dialog* owner, const MessageBoxRequest& request) {
  QMessageBox box(IconOf(request.icon), Q(request.title), Q(request.text), ButtonsOf(request.buttons),
                  m->widgetOf(owner));
  return ResultOf(box.exec());
}

std::optional<std::string> QtHost::chooseFile(Dialog* owner, const FileChooserRequest& request) {
  QFileDialog chooser(m->widgetOf(owner), Q(request.title), Q(request.initialDirectory), QtFilter(request.filter));
  chooser.setOption(QFileDialog::DontUseNativeDialog, true);
  chooser.setAcceptMode(request.mode == ChooserMode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  chooser.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  chooser.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  if (!request.defaultExtension.empty()) chooser.setDefaultSuffix(Q(request.defaultExtension));
  if (!request.initialName.empty()) chooser.selectFile(Q(request.initialName));
  for (;;) {
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = chooser.selectedFiles().front();
    if (request.promptToCreate && !QFileInfo::exists(path)) {
      const auto answer = QMessageBox::question(&chooser, Q(request.title),
                                                path + QStringLiteral("\nThis file does not exist.\nCreate the file?"));
      if (answer != QMessageBox::Yes) continue;
    }
    return path.toUtf8().toStdString();
  }
}

int QtHost::popupMenu(Dialog& owner, const std::vector<MenuItem>& items, Point at) {
  QMenu menu(m->widgetOf(&owner));
  std::map<QAction*, int> commands;
  for (const auto& item : items) {
    if (item.command == 0) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(Q(item.text));
    action->setEnabled(item.enabled);
    commands[action] = item.command;
  }
  QWidget* w = m->widgetOf(&owner);
  const QPoint global = w ? w->mapToGlobal(QPoint(at.x, at.y)) : QPoint(at.x, at.y);
  QAction* chosen = menu.exec(global);
  auto it = commands.find(chosen);
  return it == commands.end() ? 0 : it->second;
}

void QtHost::setWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

// --- Screenshots ------------------------------------------------------------------------------

namespace {

// Top-level windows get a plain title bar with the caption, so a picture shows which
// window it is.
bool SaveWithTitleBar(const QWidget& widget, const QPixmap& client, const QString& caption, bool closeBox,
                      const std::string& path) {
  QFont titleFont = widget.font();
  titleFont.setBold(true);
  const int bar = QFontMetrics(titleFont).height() + 10;
  QImage image(client.width() + 2, client.height() + bar + 1, QImage::Format_RGB32);
  image.fill(QColor(0x3A, 0x5F, 0x9F));
  QPainter painter(&image);
  painter.setFont(titleFont);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 0, image.width() - 40, bar), Qt::AlignVCenter | Qt::AlignLeft, caption);
  if (closeBox) painter.drawText(QRect(image.width() - 28, 0, 24, bar), Qt::AlignCenter, QStringLiteral("\u00D7"));
  painter.drawPixmap(1, bar, client);
  painter.end();
  return image.save(Q(path), "PNG");
}

}  // namespace

bool QtHost::saveScreenshot(const Dialog& dialog, const std::string& path) {
  QWidget* widget = m->widgetOf(&dialog);
  if (!widget) return false;
  processEvents();
  const QPixmap client = widget->grab();
  if (dialog.dialogTemplate().flags & kChildWindow) return client.save(Q(path), "PNG");
  return SaveWithTitleBar(*widget, client, Q(dialog.caption()), !(dialog.dialogTemplate().flags & kNoCloseBox),
                          path);
}

bool QtHost::saveBoxScreenshot(const MessageBoxRequest& request, const std::string& path) {
  // The same box messageBox() shows, laid out and drawn without running it.
  QMessageBox box(IconOf(request.icon), Q(request.title), Q(request.text), ButtonsOf(request.buttons));
  box.ensurePolished();
  if (box.layout()) box.layout()->activate();
  box.adjustSize();
  const QPixmap client = box.grab();
  return SaveWithTitleBar(box, client, Q(request.title), true, path);
}

}  // namespace kit::ui
