// The benchmarks' common text.
#pragma once

#include <cstddef>
#include <string>

// Deterministic English-like text of size bytes: common words with a skewed choice,
// capitalised sentence starts, commas, full stops and line feeds. The bytes "@#%|" and zero
// never occur, nor does any word outside the list (so "quixotic" is absent). A shorter text is
// the start of a longer one.
std::string english_text(std::size_t size);
