// The music list's built-in song table.
#pragma once

struct SongRow {
    const char* title;
    const char* code;  // group digit(s) then number: "11" ... "516"
};

constexpr int kSongCount = 80;

// Row nIndex (0 <= nIndex < kSongCount) in list order.
const SongRow& SongAt(int nIndex);
