#include "page_layout.h"

#include "messages.h"

std::vector<TSheetPage> LayoutPages(const std::vector<int>& counts, int capacity)
{
    std::vector<TSheetPage> pages;
    if (capacity < 1)
        return pages;
    long long copies = 0;
    for (const int count : counts)
        copies += count > 0 ? count : 0;
    if (copies > static_cast<long long>(capacity) * kMaxSheetPages)
        throw ETooManyPages(MessageText(Msg::kTooManyPages).arg(copies).arg(kMaxSheetPages));
    for (std::size_t entry = 0; entry < counts.size(); ++entry)
        for (int copy = 0; copy < counts[entry]; ++copy) {
            if (pages.empty() || pages.back().size() == static_cast<std::size_t>(capacity))
                pages.emplace_back();
            pages.back().push_back(static_cast<int>(entry));
        }
    return pages;
}
