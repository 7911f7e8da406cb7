#include "english_text.h"

#include <cstdint>

std::string english_text(std::size_t size) {
  static const char* const words[] = {
      "the",    "of",     "and",     "to",        "a",         "in",     "is",      "that",
      "it",     "was",    "for",     "on",        "are",       "as",     "with",    "his",
      "they",   "at",     "be",      "this",      "from",      "have",   "or",      "by",
      "one",    "had",    "not",     "but",       "what",      "all",    "were",    "when",
      "we",     "there",  "can",     "an",        "your",      "which",  "their",   "said",
      "if",     "do",     "will",    "each",      "about",     "how",    "up",      "out",
      "them",   "then",   "she",     "many",      "some",      "so",     "these",   "would",
      "other",  "into",   "has",     "more",      "her",       "two",    "like",    "him",
      "see",    "time",   "could",   "no",        "make",      "than",   "first",   "been",
      "its",    "who",    "now",     "people",    "my",        "made",   "over",    "did",
      "down",   "only",   "way",     "find",      "use",       "may",    "water",   "long",
      "little", "very",   "after",   "words",     "called",    "just",   "where",   "most",
      "know",   "get",    "through", "back",      "much",      "before", "go",      "good",
      "new",    "write",  "our",     "used",      "me",        "man",    "too",     "any",
      "day",    "same",   "right",   "look",      "think",     "also",   "around",  "another",
      "came",   "come",   "work",    "three",     "word",      "must",   "because", "does",
      "part",   "even",   "place",   "well",      "such",      "here",   "take",    "why",
      "things", "help",   "put",     "years",     "different", "away",   "again",   "off",
      "went",   "old",    "number",  "great",     "tell",      "men",    "say",     "small",
      "every",  "found",  "still",   "between",   "name",      "should", "home",    "big",
      "give",   "air",    "line",    "set",       "own",       "under",  "read",    "last",
      "never",  "us",     "left",    "end",       "along",     "while",  "might",   "next",
      "sound",  "below",  "saw",     "something", "thought",   "both",   "few",     "those",
      "always", "looked", "show",    "large",     "often"};
  constexpr std::uint32_t word_count = sizeof words / sizeof words[0];
  std::string s;
  s.reserve(size + 64);
  std::uint32_t state = 12345u;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  std::uint32_t in_sentence = 0;
  while (s.size() < size) {
    // Product of two uniform draws: small indices (frequent words) come up far more often.
    const std::uint32_t r = (next() >> 16) % word_count;
    const std::uint32_t q = (next() >> 16) % word_count;
    std::string w = words[r * q / word_count];
    if (in_sentence == 0) w[0] = static_cast<char>(w[0] - 'a' + 'A');
    s += w;
    ++in_sentence;
    const std::uint32_t end = next() >> 24;
    if (in_sentence > 4 && end < 24) {
      s += end < 4 ? ".\n" : ". ";
      in_sentence = 0;
    } else {
      s += end < 40 ? ", " : " ";
    }
  }
  s.resize(size);
  return s;
}
