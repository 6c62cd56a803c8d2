#include "runtime/dialog_answers.h"

namespace zelvo {

void DialogAnswers::AnswerNextMessageBox(int result) {
    std::lock_guard lock(mutex_);
    boxAnswers_.push_back(result);
}

void DialogAnswers::AnswerNextBrowse(std::string path) {
    std::lock_guard lock(mutex_);
    browseAnswers_.push_back(std::move(path));
}

std::vector<ShownMessageBox> DialogAnswers::MessageBoxesShown() const {
    std::lock_guard lock(mutex_);
    return boxesShown_;
}

std::vector<std::string> DialogAnswers::FolderBrowserTitles() const {
    std::lock_guard lock(mutex_);
    return browseTitles_;
}

std::optional<int> DialogAnswers::TakeMessageBoxAnswer(std::string_view text, int flags,
                                                       std::string_view caption) {
    std::lock_guard lock(mutex_);
    boxesShown_.push_back({std::string(text), std::string(caption), flags});
    if (boxAnswers_.empty()) return std::nullopt;
    const int answer = boxAnswers_.front();
    boxAnswers_.pop_front();
    return answer;
}

std::optional<std::string> DialogAnswers::TakeBrowseAnswer(std::string_view title) {
    std::lock_guard lock(mutex_);
    browseTitles_.emplace_back(title);
    if (browseAnswers_.empty()) return std::nullopt;
    std::string answer = std::move(browseAnswers_.front());
    browseAnswers_.pop_front();
    return answer;
}

}  // namespace zelvo
