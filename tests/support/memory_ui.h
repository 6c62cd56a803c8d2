#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "runtime/row_store.h"
#include "runtime/ui.h"

// The UI port in memory, for behaviour tests. Windows are built from their
// descriptions each time they are opened (edit boxes hold their defaults,
// date pickers start at Now(), lists have their columns and no rows, progress
// bars are at 0 of 100 and keep their position within the range). The port
// contract (tests/port) runs on it as on every other port. The thread that calls the test API is taken to be
// the user-interface thread; any other thread may call every port operation.
//
// Events reach the handler only when the window's description binds them, so
// a test that clicks a button also proves the button's binding. A disabled
// window or control (a modal window is open, or code disabled it) takes no
// input: click() and the other input helpers then deliver nothing.
//
// Modal windows: LoadWindow(w, true) opens the window, runs the callback the
// test registered for w with onModal() (none registered: nothing happens, as
// if the user closed the window at once), then closes the window unless the
// callback already did, and returns.
//
// Delay really sleeps (it promises to wait at least that long, and callers
// may poll TickCount around it); keep delays in tests short.
//
// Reading or changing a control that does not exist (unknown name, or its
// window is closed) does nothing and gives the empty value; every such access
// is recorded in misses() so that a test can insist on none.
namespace zelvo::testing {

class MemoryUi : public UiPort {
  public:
    struct MessageRecord {
        std::string text;
        int flags = 0;
        std::string caption;
    };
    struct FolderRequest {
        std::string title;
        bool includeFiles = false;
    };
    using WindowCallback = std::function<void(MemoryUi&)>;
    // Answers a message box; called instead of taking a queued answer.
    using MessageCallback = std::function<int(const MessageRecord&)>;

    MemoryUi();
    ~MemoryUi() override;

    // --- UiPort ---
    void SetEventHandler(UiEventHandler handler) override;
    bool LoadWindow(WindowId window, bool modal) override;
    void CloseWindow(WindowId window) override;
    bool IsWindowOpen(WindowId window) override;
    int WindowLeft(WindowId window) override;
    int WindowTop(WindowId window) override;
    void MoveWindow(WindowId window, int left, int top) override;

    std::string GetText(WindowId window, std::string_view control) override;
    void SetText(WindowId window, std::string_view control, std::string_view text) override;
    void AppendText(WindowId window, std::string_view control, std::string_view text) override;
    bool IsEnabled(WindowId window, std::string_view control) override;
    void SetEnabled(WindowId window, std::string_view control, bool enabled) override;
    bool IsVisible(WindowId window, std::string_view control) override;
    void SetVisible(WindowId window, std::string_view control, bool visible) override;
    bool IsChecked(WindowId window, std::string_view control) override;
    void SetChecked(WindowId window, std::string_view control, bool checked) override;
    int ProgressMax(WindowId window, std::string_view control) override;
    void SetProgressMax(WindowId window, std::string_view control, int max) override;
    int ProgressPos(WindowId window, std::string_view control) override;
    void SetProgressPos(WindowId window, std::string_view control, int pos) override;
    DateTime DateValue(WindowId window, std::string_view control) override;
    void SetDateValue(WindowId window, std::string_view control, DateTime value) override;
    int CurrentPage(WindowId window, std::string_view control) override;
    void SetCurrentPage(WindowId window, std::string_view control, int page) override;

    int ListInsert(WindowId window, std::string_view list, int position = -1,
                   std::string_view title = {}, int image = -1, int stateImage = -1, int indent = 0,
                   int value = 0) override;
    std::string ListGetText(WindowId window, std::string_view list, int row, int column) override;
    void ListSetText(WindowId window, std::string_view list, int row, int column,
                     std::string_view text) override;
    int ListGetImage(WindowId window, std::string_view list, int row, int column) override;
    void ListSetImage(WindowId window, std::string_view list, int row, int column,
                      int image) override;
    int ListGetStateImage(WindowId window, std::string_view list, int row) override;
    void ListSetStateImage(WindowId window, std::string_view list, int row, int image) override;
    int ListGetData(WindowId window, std::string_view list, int row) override;
    void ListSetData(WindowId window, std::string_view list, int row, int value) override;
    int ListCount(WindowId window, std::string_view list) override;
    int ListColumnCount(WindowId window, std::string_view list) override;
    void ListDelete(WindowId window, std::string_view list, int row) override;
    void ListClear(WindowId window, std::string_view list) override;
    void ListEnsureVisible(WindowId window, std::string_view list, int row) override;
    int ListCurrentRow(WindowId window, std::string_view list) override;
    void ListSetCurrentRow(WindowId window, std::string_view list, int row) override;

    int MessageBox(std::string_view text, int flags, std::string_view caption = "信息：") override;
    std::string BrowseFolder(std::string_view title, bool includeFiles) override;
    int CursorX() override;
    int CursorY() override;
    void Delay(int ms) override;

    // --- Test API: user input. Each returns whether the event reached the
    // handler (the window is open and enabled, the control exists, is
    // enabled and visible, and the description binds the event). ---
    bool click(WindowId window, std::string_view control);
    // Makes the row current, then activates it (double click); the row must exist.
    bool activateRow(WindowId window, std::string_view list, int row);
    bool clickHeader(WindowId window, std::string_view list, int column);
    // Makes the page current (as the user does), then reports the change.
    bool selectPage(WindowId window, std::string_view tabs, int page);
    // Types into an edit box, replacing its content; false when the box is
    // read-only or disabled (nothing changes then). No event is bound to typing.
    bool type(WindowId window, std::string_view control, std::string_view text);
    // Any event, with the same checks (window events need only an open window).
    bool fire(const UiEvent& event);
    // Every event that reached the handler, in order.
    std::vector<UiEvent> deliveredEvents() const;

    // --- Test API: windows ---
    void onModal(WindowId window, WindowCallback callback);
    int creations(WindowId window) const;  // times the window was built
    int raises(WindowId window) const;     // LoadWindow calls that found it open
    bool isWindowEnabled(WindowId window) const;
    void setScreenSize(int width, int height);
    void setCursor(int x, int y);

    // --- Test API: dialogs ---
    std::vector<MessageRecord> messages() const;
    void clearMessages();
    void queueMessageAnswer(int result);  // default answer: OK (0), No (6) for Yes/No
    void onMessage(MessageCallback callback);
    std::vector<FolderRequest> folderRequests() const;
    void queueFolderAnswer(std::string path);  // default answer: cancel ("")

    // --- Test API: lists and the rest ---
    // Every cell text of one row.
    std::vector<std::string> listRow(WindowId window, std::string_view list, int row) const;
    // The row last scrolled into view, -1 if none.
    int lastEnsuredVisible(WindowId window, std::string_view list) const;
    int totalDelayMs() const;
    // "window/control" for every access to a control that does not exist.
    std::vector<std::string> misses() const;

  private:
    struct Row {
        std::vector<std::string> cells;
        std::vector<int> images;
        int stateImage = -1;
        int value = 0;
    };
    struct Control {
        const ControlDesc* desc = nullptr;
        std::string text;
        bool enabled = true;
        bool visible = true;
        bool checked = false;
        int progressMax = 100;
        int progressPos = 0;
        DateTime date;
        int page = 0;
        RowStore<Row> rows;  // a filter pass deletes thousands one by one
        int currentRow = -1;
        int ensuredVisible = -1;
    };
    struct Window {
        bool open = false;
        bool closing = false;
        bool modal = false;
        bool enabled = true;  // as code set it; an open modal window disables it as well
        int openSeq = 0;      // order of opening
        int left = 0, top = 0;
        std::string caption;
        std::map<std::string, Control, std::less<>> controls;
        int creations = 0;
        int raises = 0;
    };

    // Caller holds mutex_.
    Control* find(WindowId window, std::string_view control);
    const Control* find(WindowId window, std::string_view control) const;
    Control* findList(WindowId window, std::string_view list, int row);
    void miss(WindowId window, std::string_view control) const;
    void build(WindowId window);
    bool inputEnabled(WindowId window) const;
    // Delivers without holding mutex_; the checks are done by the caller.
    bool deliver(const UiEvent& event);
    bool bound(const UiEvent& event) const;
    bool acceptsInput(const UiEvent& event) const;

    mutable std::mutex mutex_;
    UiEventHandler handler_;
    std::map<WindowId, Window> windows_;
    std::map<WindowId, WindowCallback> modalCallbacks_;
    std::vector<UiEvent> delivered_;
    std::vector<MessageRecord> messages_;
    std::vector<int> messageAnswers_;
    MessageCallback messageCallback_;
    std::vector<FolderRequest> folderRequests_;
    std::vector<std::string> folderAnswers_;
    int openSeq_ = 0;
    int screenWidth_ = 1024, screenHeight_ = 768;
    int cursorX_ = 0, cursorY_ = 0;
    int totalDelayMs_ = 0;
    mutable std::vector<std::string> misses_;
};

}  // namespace zelvo::testing
