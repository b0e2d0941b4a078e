#include "gui/CMainFrame.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "base/CommandIds.h"
#include "app/CommandLine.h"
#include "app/CoreSession.h"
#include "app/InstanceRequestHandler.h"
#include "gui/FrameRequestSide.h"
#include "base/Settings.h"
#include "app/ViewerCommands.h"
#include "document/CLP98Doc.h"
#include "base/FileEditor.h"
#include "document/OpenFileTable.h"
#include "fax/CLP98FAX.h"
#include "document/PageFileOperations.h"
#include "gui/FramePrinting.h"
#include "gui/FrameScanning.h"
#include "gui/PageWidget.h"
#include "gui/QtMessages.h"
#include "gui/ToolBarIcons.h"
#include "view/CLP98View.h"
#include "view/ColourAdjustment.h"
#include "view/PageListDocument.h"
#include "view/PageNavigator.h"
#include "view/ViewMouse.h"

namespace lumipage {

namespace {

constexpr std::array<int, 5> kPaneWidths{0, 50, 110, 50, 64};
constexpr std::array<const char*, 5> kPaneTexts{"", "", "Pixel:", "DPI:", "Zoom:"};

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

int screenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 1024;
}

}  // namespace

CMainFrame::CMainFrame(Settings& settings, const StartupRequest& startup, OpenFileTable& table, CLP98Doc& document,
                       QWidget* parent)
    : QMainWindow(parent), settings_(settings), startup_(startup), table_(table), document_(document),
      shape_(MenuShape::of(startup, screenWidth())) {
    setObjectName("CMainFrame");
    if (startup.topMost) setWindowFlag(Qt::WindowStaysOnTopHint);
    setAcceptDrops(true);
    page_ = new PageWidget(this);
    setCentralWidget(page_);
    scanWindow_ = makeScanWindow();
    session_ = std::make_unique<CoreSession>(
        settings_, table_, document_,
        SessionWindow{*page_, [] { return makeFileEditor(); }, scanWindow_.get(), [this] { return colourDialogOpen(); }});
    viewDocument_ = &session_->viewDocument();
    view_ = &session_->view();
    navigator_ = &session_->navigator();
    commands_ = &session_->commands();
    view_->setFitMode(startup.sizeMode);
    page_->setView(view_);
    addHandlers();
    requestSide_ = std::make_unique<FrameRequestSide>(*this, settings_, startup.sizeMode);
    requests_ = std::make_unique<InstanceRequestHandler>(document_, settings_, *requestSide_);
    requestSide_->setColourDialogQuery([this] { return colourDialogOpen(); });
    navigator_->setChangeListener([this] { refresh(); });
    commands_->setChangeListener([this] { refresh(); });
    session_->setChangeListener([this] { refresh(); });
    page_->setKeyHandler([this](QKeyEvent* e) { return handleKey(e); });
    page_->setResizeHandler([this](int id) { postCommand(id); });
    mouse_ = std::make_unique<ViewMouse>(*page_, *view_, settings_);
    page_->setMouse(mouse_.get(), {[this](int id) { return runCommand(id); }, [this] { refresh(); },
                                   [this] { return navigator_->pageCount(); },
                                   [this] { return navigator_->currentPage(); }, startup.fileMenu});

    buildStatusBar();
    page_->setStatusSink([this](int pane, const std::string& text) {
        if (pane >= 1 && pane <= 4) panes_[size_t(pane)]->setText(fromUtf8(text));
    });
    buildMenus();
    buildToolBar();
    restoreToolBar();
    if (startup.toolBar) toolBar_->setVisible(*startup.toolBar);
    if (startup.statusBar) statusBar()->setVisible(*startup.statusBar);
    view_->OnInitialUpdate();
    resize(1024, 768);
    page_->setFocus();
    refresh();
}

CMainFrame::~CMainFrame() {
    page_->setView(nullptr);
    page_->setMouse(nullptr, {});
}

void CMainFrame::buildStatusBar() {
    for (size_t i = 0; i < panes_.size(); ++i) {
        panes_[i] = new QLabel(kPaneTexts[i], this);
        panes_[i]->setObjectName(QString("pane%1").arg(i));
        if (i == 0) {
            statusBar()->addWidget(panes_[i], 1);
        } else {
            panes_[i]->setMinimumWidth(kPaneWidths[i]);
            statusBar()->addPermanentWidget(panes_[i]);
        }
    }
}

QAction* CMainFrame::makeAction(const MenuLine& line, QObject* parent) {
    auto* action = new QAction(QString::fromUtf8(line.caption), parent);
    action->setObjectName(QString("ID_%1").arg(line.id));
    action->setData(line.id);
    action->setCheckable(ViewerCommands::hasCheckMark(line.id));
    const int id = line.id;
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    actions_[id] = action;
    return action;
}

// Submenus hold the deeper lines that follow them; the modes leave out
// whole menus and single items.
void CMainFrame::addMenuLines(QMenu* menu, std::span<const MenuLine> lines, size_t& at, int depth) {
    while (at < lines.size() && lines[at].depth == depth) {
        const MenuLine& line = lines[at++];
        if (line.isSeparator()) {
            menu->addSeparator();
        } else if (line.isSubmenu()) {
            QMenu* sub = menu->addMenu(QString::fromUtf8(line.caption));
            addMenuLines(sub, lines, at, depth + 1);
        } else if (!shape_.removesItem(line.id)) {
            menu->addAction(makeAction(line, menu));
        }
    }
}

void CMainFrame::buildMenus() {
    const std::span<const MenuLine> lines = mainMenu();
    QMenuBar* bar = menuBar();
    size_t at = 0;
    while (at < lines.size()) {
        const MenuLine& line = lines[at++];
        const std::string caption = line.caption;
        const bool dropped = (caption == kScanMenu || caption == kCopyMenu) ? !shape_.scanMenus
                             : caption == kFaxMenu                          ? !shape_.faxMenu
                                                                            : false;
        if (caption == kFileMenu && !shape_.fileMenu) {
            QMenu scratch;
            addMenuLines(&scratch, lines, at, 1);  // skipped, with its actions
            for (QAction* a : scratch.actions()) actions_.erase(a->data().toInt());
            bar->addAction(makeAction({0, command::kExit, kCloseProgramItem}, bar));
            continue;
        }
        if (!line.isSubmenu()) {
            bar->addAction(makeAction(line, bar));
            continue;
        }
        QMenu* menu = bar->addMenu(QString::fromUtf8(line.caption));
        menu->setObjectName(QString::fromUtf8(line.caption));
        addMenuLines(menu, lines, at, 1);
        connect(menu, &QMenu::aboutToShow, this, [this] { updateStates(); });
        if (caption == kFileMenu) fileMenu_ = menu;
        if (dropped) {
            for (QAction* a : menu->actions()) actions_.erase(a->data().toInt());
            bar->removeAction(menu->menuAction());
            menu->deleteLater();
        }
    }
    bar->setVisible(shape_.menuBar);
}

void CMainFrame::buildToolBar() {
    toolBar_ = addToolBar("ToolBar");
    toolBar_->setObjectName("128");
    toolBar_->setIconSize(QSize(16, 16));
    for (const int id : toolBarButtons()) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        const char* caption = captionOf(id);
        auto* button = new QAction(toolBarIcon(id), QString::fromUtf8(caption ? caption : ""), toolBar_);
        button->setObjectName(QString("BTN_%1").arg(id));
        button->setData(id);
        button->setVisible(!shape_.hidesButton(id));
        connect(button, &QAction::triggered, this, [this, id] { runCommand(id); });
        toolBar_->addAction(button);
        buttons_[id] = button;
    }
}

QAction* CMainFrame::menuAction(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::toolButton(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

QString CMainFrame::statusPaneText(int pane) const { return panes_.at(size_t(pane))->text(); }

void CMainFrame::updateStates() {
    for (const auto& [id, action] : actions_) {
        const CommandState s = stateOf(id);
        action->setEnabled(s.enabled);
        if (action->isCheckable()) action->setChecked(s.checked);
        if (!s.text.empty()) action->setText(fromUtf8(s.text));
    }
    for (const auto& [id, button] : buttons_) button->setEnabled(stateOf(id).enabled);
    updateRecentMenu();
}

// Print all while nothing is selected, print the selection otherwise.
void CMainFrame::updateToolButtons() {
    const bool selected = table_.counts().selected > 0;
    if (QAction* all = toolButton(command::kPrintAll)) all->setVisible(!selected && !shape_.hidesButton(command::kPrintAll));
    if (QAction* some = toolButton(command::kPrintSelected))
        some->setVisible(selected && !shape_.hidesButton(command::kPrintSelected));
}

QString CMainFrame::captionText() const {
    QString caption = kApplicationTitle;
    if (startup_.caption) {
        if (!startup_.caption->empty()) caption += " " + fromUtf8(*startup_.caption);
        return caption;
    }
    return caption + fromUtf8(document_.caption());
}

void CMainFrame::refresh() {
    // The document's page changed underneath (files opened, saved, deleted,
    // scanned, a fax job's pages): the view shows the new one.
    if (view_->pageOutOfDate()) view_->ShowCurrentPage();
    followCommentTarget();
    setWindowTitle(captionText());
    updateStates();
    updateToolButtons();
    page_->viewport()->update();
    if (mouse_) mouse_->pageChanged();  // the pointer's shape follows the page and the zoom
}

void CMainFrame::showCurrentPage() {
    view_->ShowCurrentPage();
    refresh();
}

bool CMainFrame::runCommand(int id) {
    if (commandFilter_ && commandFilter_(id)) return true;
    view_->flushPendingPaint();
    if (mouse_) mouse_->releaseCapture();  // a dialog or a job takes the pointer
    const bool done = router().run(id);
    refresh();
    return done;
}

void CMainFrame::postCommand(int id) {
    QTimer::singleShot(0, this, [this, id] { runCommand(id); });
}

void CMainFrame::setBroadcaster(std::function<void(int, int)> broadcast) {
    commands_->setBroadcaster(std::move(broadcast));
}

}  // namespace lumipage
