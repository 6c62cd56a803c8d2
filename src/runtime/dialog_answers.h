#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The real ports' test seam for dialogs: answers queued ahead for the next
// message boxes and folder browsers, and a record of those the program asked
// for. A port asks here first and shows the real dialog only when nothing is
// queued, so a test never blocks on a dialog. Any thread may call.
namespace zelvo {

struct ShownMessageBox {
    std::string text;  // GBK
    std::string caption;
    int flags = 0;
};

class DialogAnswers {
  public:
    void AnswerNextMessageBox(int result);
    void AnswerNextBrowse(std::string path);
    std::vector<ShownMessageBox> MessageBoxesShown() const;
    std::vector<std::string> FolderBrowserTitles() const;

  protected:
    // Records the box or browser asked for; gives the queued answer, if any.
    std::optional<int> TakeMessageBoxAnswer(std::string_view text, int flags,
                                            std::string_view caption);
    std::optional<std::string> TakeBrowseAnswer(std::string_view title);

  private:
    mutable std::mutex mutex_;
    std::deque<int> boxAnswers_;
    std::deque<std::string> browseAnswers_;
    std::vector<ShownMessageBox> boxesShown_;
    std::vector<std::string> browseTitles_;
};

}  // namespace zelvo
