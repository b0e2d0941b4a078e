// The window's fax commands: sending all or the selected pages, the phone
// book and the voice call, and the command line's fax run.
#include <cstdio>

#include <QCoreApplication>
#include <QTimer>
#include <QMessageBox>
#include <QScrollBar>

#include "base/CommandIds.h"
#include "base/Messages.h"
#include "base/Settings.h"
#include "document/OpenFileTable.h"
#include "fax/CLP98FAX.h"
#include "fax/PhoneBookEditor.h"
#include "app/CoreSession.h"
#include "gui/CMainFrame.h"
#include "gui/FaxSendWindows.h"
#include "gui/PageWidget.h"
#include "gui/dialogs/PhoneBookDialog.h"
#include "gui/dialogs/VoiceCallDialog.h"

namespace lumipage {

namespace {

using namespace command;

std::vector<PickLine> pickLinesOf(const PhoneBook& book, PhoneBook::Number which) {
    std::vector<PickLine> lines;
    lines.reserve(book.size());
    for (size_t i = 0; i < book.size(); ++i) {
        const PhoneEntry& e = book.entries()[i];
        const std::string number = which == PhoneBook::Number::Fax ? e.displayFax() : e.displayTelephone();
        lines.push_back({QString::fromStdString(book.entryLine(i, which)), QString::fromStdString(number)});
    }
    return lines;
}

// The phone book as a pick list: reloaded from its file, sorted when asked.
// Sorting changes only the book in memory.
std::function<std::vector<PickLine>(bool)> pickList(CLP98FAX& fax, std::string path, PhoneBook::Number which) {
    return [&fax, path = std::move(path), which](bool sort) {
        PhoneBook& book = fax.phoneBook();
        if (!path.empty()) book.load(path);
        if (sort) book.sort();
        return pickLinesOf(book, which);
    };
}

}  // namespace

CLP98FAX& CMainFrame::fax() { return session_->fax(); }

void CMainFrame::useFax(std::unique_ptr<CLP98FAX> fax) { session_->useFax(std::move(fax)); }

std::string CMainFrame::phoneBookPath() const {
    return faxDataFolder_.empty() ? std::string() : CLP98FAX::phoneBookPath(faxDataFolder_);
}

void CMainFrame::addFaxHandlers() {
    router().setHandler(kFaxSelected, [this] { sendFax(true, nullptr); });
    router().setHandler(kFaxAll, [this] { sendFax(false, nullptr); });
    router().setHandler(kPhoneBook, [this] { openPhoneBook(); });
    router().setHandler(kVoiceCall, [this] { openVoiceCall(); });
}

// One send job over the page list; `ui` null for the window's own dialogs.
bool CMainFrame::sendFax(bool selectedPages, FaxSendUi* ui) {
    CLP98FAX& f = fax();
    FaxCallWindow window;
    // The pump tells the call when the window is to close: the call is cancelled.
    window.pump = [this] {
        QCoreApplication::processEvents();
        return closeAfterFax_;
    };
    // The main window is disabled during the call; the progress window, a window of its own, stays usable.
    window.enableWindow = [this](bool on) {
        for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (!w->isWindow()) w->setEnabled(on);
    };
    QPoint scroll;
    window.saveView = [this, &scroll] {
        scroll = {page_->horizontalScrollBar()->value(), page_->verticalScrollBar()->value()};
    };
    window.restoreView = [this, &scroll] {
        refresh();
        page_->horizontalScrollBar()->setValue(scroll.x());
        page_->verticalScrollBar()->setValue(scroll.y());
    };
    FaxWindowUi windows(this, selectedPages, pickList(f, phoneBookPath(), PhoneBook::Number::Fax),
                        [&f] { f.link().requestAbort(); });
    window.offerDialNow = [&windows](std::function<void()> dialNow) { windows.onDialNow(std::move(dialNow)); };
    FaxSendUi& used = ui ? *ui : static_cast<FaxSendUi&>(windows);
    faxCallRunning_ = true;
    const bool sent = session_->sendFax(
        selectedPages ? DocumentFaxPages::Range::Selected : DocumentFaxPages::Range::All, used, window);
    faxCallRunning_ = false;
    if (closeAfterFax_) QTimer::singleShot(0, this, [this] { close(); });
    // The marks of the pages sent show in the counters.
    refresh();
    return sent;
}

void CMainFrame::openPhoneBook() {
    CLP98FAX& f = fax();
    PhoneBookEditor editor(f.phoneBook());
    const std::string path = phoneBookPath();
    editor.open(path);
    PhoneBookDialog dialog(f.phoneBook(), editor, this);
    dialog.exec();
    if (!path.empty()) editor.close(path);
}

void CMainFrame::openVoiceCall() {
    CLP98FAX& f = fax();
    VoiceCallDialog dialog(settings_, f.voiceNumber(), pickList(f, phoneBookPath(), PhoneBook::Number::Telephone), this);
    if (dialog.exec() != QDialog::Accepted) return;
    std::string number;
    dialog.storeInto(settings_, number);
    f.voiceCall(number, messages(), [this](std::string_view caption, std::string_view text) {
        QMessageBox::information(this, QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                                 QString::fromUtf8(text.data(), qsizetype(text.size())));
    });
}

}  // namespace lumipage
