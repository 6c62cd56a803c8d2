#include "app/result_sort.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "forms/main_window_controls.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace zelvo {

namespace {

constexpr WindowId kMain = WindowId::Main;
using main_window::kResultList;

// The search of findInsertPosition over any sequence of key values, given by
// its 1-based accessor. One body for the texts converted at each comparison
// and for the cached values, so both give the same positions.
template <typename KeyAt>
int searchInsertPosition(int n, double k, KeyAt keyAt) {
    if (n == 0) return 1;
    if (k - keyAt(n) >= -kSortKeyTolerance) return n + 1;
    if (k - keyAt(1) <= kSortKeyTolerance) return 1;
    int low = 1;
    int high = n;
    while (low < high - 1) {
        const int mid = (low + high) / 2;
        const double difference = k - keyAt(mid);
        if (std::abs(difference) <= kSortKeyTolerance) {
            low = mid;
            break;
        }
        if (difference < -kSortKeyTolerance) {
            high = mid;
        } else {
            low = mid;
        }
    }
    return low + 1;
}

// The growing ascending sequence of (key value, source row) of the insertion
// loop. Inserting into one flat array moves half of it each time (quadratic at
// 100,000 rows); short blocks with their start positions keep both the
// positional reads of the search and the insertion cheap while holding exactly
// the same sequence.
class KeySequence {
  public:
    struct Entry {
        double key;
        int source;
    };

    explicit KeySequence(int expected) {
        blocks_.reserve(static_cast<std::size_t>(expected / kBlockSize + 2));
        starts_.reserve(blocks_.capacity());
    }

    int size() const { return size_; }

    // 0-based.
    const Entry& at(int position) const {
        const std::size_t block = blockOf(position);
        return blocks_[block][static_cast<std::size_t>(position - starts_[block])];
    }

    // 0-based; position == size() appends.
    void insert(int position, Entry entry) {
        if (blocks_.empty()) {
            blocks_.emplace_back();
            blocks_.back().reserve(2 * kBlockSize + 1);
            starts_.push_back(0);
        }
        const std::size_t block = position == size_ ? blocks_.size() - 1 : blockOf(position);
        auto& items = blocks_[block];
        items.insert(items.begin() + (position - starts_[block]), entry);
        ++size_;
        for (std::size_t b = block + 1; b < starts_.size(); ++b) ++starts_[b];
        if (items.size() > 2 * kBlockSize) split(block);
    }

    std::vector<int> sources() const {
        std::vector<int> result;
        result.reserve(static_cast<std::size_t>(size_));
        for (const auto& items : blocks_) {
            for (const auto& entry : items) result.push_back(entry.source);
        }
        return result;
    }

  private:
    static constexpr std::size_t kBlockSize = 256;

    std::size_t blockOf(int position) const {
        const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
        return static_cast<std::size_t>(after - starts_.begin()) - 1;
    }

    void split(std::size_t block) {
        auto& items = blocks_[block];
        std::vector<Entry> upper(items.begin() + kBlockSize, items.end());
        upper.reserve(2 * kBlockSize + 1);
        items.resize(kBlockSize);
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(upper));
        starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(block) + 1,
                       starts_[block] + static_cast<int>(kBlockSize));
    }

    std::vector<std::vector<Entry>> blocks_;
    std::vector<int> starts_;
    int size_ = 0;
};

}  // namespace

double sortKeyValue(std::string_view cellText, SortKind kind) {
    const std::string trimmed = TrimText(cellText);
    return kind == SortKind::Numeric ? ToNumber(trimmed) : TextToDateTime(trimmed).days;
}

int findInsertPosition(const std::vector<std::string>& keys, std::string_view key, SortKind kind) {
    const double k = sortKeyValue(key, kind);
    return searchInsertPosition(static_cast<int>(keys.size()), k, [&](int i) {
        return sortKeyValue(keys[static_cast<std::size_t>(i - 1)], kind);
    });
}

std::vector<int> insertionSortOrder(const std::vector<std::string>& keyTexts, SortKind kind) {
    // The conversion depends on the text alone, so each key is converted once
    // instead of at every comparison; the search sees the same values.
    const int n = static_cast<int>(keyTexts.size());
    KeySequence sequence(n);
    for (int r = 0; r < n; ++r) {
        const double k = sortKeyValue(keyTexts[static_cast<std::size_t>(r)], kind);
        const int p =
            searchInsertPosition(sequence.size(), k, [&](int i) { return sequence.at(i - 1).key; });
        sequence.insert(p - 1, {k, r});
    }
    return sequence.sources();
}

void sortResultList(UiPort& ui, int column, SortKind kind, bool ascending) {
    // The selected row is found again afterwards by its item value; a row
    // without one is marked with 1 first.
    bool rememberSelection = false;
    int rememberedValue = 0;
    const int n = ui.ListCount(kMain, kResultList);
    const int selected = ui.ListCurrentRow(kMain, kResultList);
    if (selected >= 0 && selected < n) {
        rememberedValue = ui.ListGetData(kMain, kResultList, selected);
        if (rememberedValue == 0) {
            ui.ListSetData(kMain, kResultList, selected, 1);
            rememberedValue = 1;
        }
        rememberSelection = true;
    }

    const int columns = ui.ListColumnCount(kMain, kResultList);
    const auto count = static_cast<std::size_t>(n);
    const auto width = static_cast<std::size_t>(columns);

    // Every row is read completely before the first write.
    std::vector<std::string> keyTexts(count);
    std::vector<int> itemValue(count);
    std::vector<int> checkState(count);
    std::vector<std::string> texts(count * width);
    std::vector<int> images(count * width);
    for (int r = 0; r < n; ++r) {
        const auto row = static_cast<std::size_t>(r);
        for (int c = 0; c < columns; ++c) {
            texts[row * width + static_cast<std::size_t>(c)] =
                ui.ListGetText(kMain, kResultList, r, c);
            images[row * width + static_cast<std::size_t>(c)] =
                ui.ListGetImage(kMain, kResultList, r, c);
        }
        if (column >= 0 && column < columns) {
            keyTexts[row] = TrimText(texts[row * width + static_cast<std::size_t>(column)]);
        }
        itemValue[row] = ui.ListGetData(kMain, kResultList, r);
        checkState[row] = ui.ListGetStateImage(kMain, kResultList, r);
    }

    const std::vector<int> order = insertionSortOrder(keyTexts, kind);

    int selectRow = -1;
    for (int t = 0; t < n; ++t) {
        const int j = ascending ? t : n - 1 - t;
        const auto source = static_cast<std::size_t>(order[static_cast<std::size_t>(j)]);
        for (int c = 0; c < columns; ++c) {
            const std::size_t cell = source * width + static_cast<std::size_t>(c);
            ui.ListSetText(kMain, kResultList, t, c, texts[cell]);
            // A cell without an image keeps whatever image its target row had.
            if (images[cell] != -1) ui.ListSetImage(kMain, kResultList, t, c, images[cell]);
        }
        ui.ListSetData(kMain, kResultList, t, itemValue[source]);
        if (checkState[source] != -1) {
            ui.ListSetStateImage(kMain, kResultList, t, checkState[source]);
        }
        if (rememberSelection && selectRow < 0 && itemValue[source] == rememberedValue) {
            selectRow = t;
        }
    }

    if (selectRow >= 0) {
        ui.ListSetCurrentRow(kMain, kResultList, selectRow);
        ui.ListEnsureVisible(kMain, kResultList, selectRow);
    }
}

void onResultHeaderClicked(UiPort& ui, bool& sortAscending, int column) {
    sortAscending = !sortAscending;
    if (column == 1) {
        sortResultList(ui, column, SortKind::Numeric, sortAscending);
    } else if (column == 2 || column == 4) {
        sortResultList(ui, column, SortKind::DateTime, sortAscending);
    }
}

}  // namespace zelvo
