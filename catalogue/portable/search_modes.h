// The modes of the panel's search selector.
#pragma once

// The search selector's entries in their listed order; each entry's item data is its mode.
enum SearchModeEntry : int {
    kShowAll,       // every entry, whatever the search box holds
    kSearchAll,     // radio and television entries matching the words
    kSearchRadio,
    kSearchTv,
    kSearchModeCount
};
