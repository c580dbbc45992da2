#pragma once

#include "exception.h"

#include <vector>

/// A run that would need more pages than kMaxSheetPages.
QRL_DECLARE_EXCEPTION(ETooManyPages, Exception);

/// More pages than one run of a photo shop prints: beyond it a count is a
/// typing slip, and the layout refuses rather than allocating without bound.
inline constexpr int kMaxSheetPages = 100;

/// One page of a run: for each filled place, in grid order, the index of the
/// entry whose photo it shows. Places after the last entry stay empty.
using TSheetPage = std::vector<int>;

/// Lays the entries' copies out in order: counts[0] copies of entry 0, then
/// those of entry 1, ..., filling `capacity` places per page and continuing
/// on a new page when one is full. Entries with a count of 0 or less take
/// no place. No copies, or a capacity below 1, give no pages. Raises
/// ETooManyPages when the copies need more than kMaxSheetPages pages.
std::vector<TSheetPage> LayoutPages(const std::vector<int>& counts, int capacity);
