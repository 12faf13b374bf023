// The system's wildcard rules: the mask is first translated into the file system's DOS
// wildcards (DOS_STAR, DOS_QM, DOS_DOT) and then matched with memoised backtracking.
#include "platform/posix/Wildcard.h"

#include "platform/posix/Fold.h"

#include <vector>

namespace platform::posix {

namespace {

enum class Token { Literal, Star, DosStar, DosQm, DosDot };

struct Item {
  Token token;
  char c;
};

std::vector<Item> translate(std::string_view mask) {
  std::vector<Item> items;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    char next = i + 1 < mask.size() ? mask[i + 1] : '\0';
    bool atEnd = i + 1 == mask.size();
    if (c == '?') {
      items.push_back({Token::DosQm, c});
    } else if (c == '*') {
      items.push_back({next == '.' ? Token::DosStar : Token::Star, c});
    } else if (c == '.' && (atEnd || next == '?' || next == '*')) {
      items.push_back({Token::DosDot, c});
    } else {
      items.push_back({Token::Literal, c});
    }
  }
  return items;
}

class Matcher {
public:
  Matcher(std::string_view name, std::vector<Item> items)
      : name_(name), items_(std::move(items)), lastDot_(name.rfind('.')),
        memo_((items_.size() + 1) * (name.size() + 1), 0) {}

  bool match(std::size_t p, std::size_t n) {
    char& seen = memo_[p * (name_.size() + 1) + n];
    if (seen != 0) return seen == 1;
    bool result = compute(p, n);
    seen = result ? 1 : 2;
    return result;
  }

private:
  bool compute(std::size_t p, std::size_t n) {
    if (p == items_.size()) return n == name_.size();
    const Item& item = items_[p];
    bool atEnd = n == name_.size();
    switch (item.token) {
    case Token::Star:
      for (std::size_t k = n; k <= name_.size(); ++k)
        if (match(p + 1, k)) return true;
      return false;
    case Token::DosStar: {
      // Up to the final dot of the name, or to its end when no dot follows.
      std::size_t limit =
          (lastDot_ != std::string_view::npos && lastDot_ >= n) ? lastDot_ : name_.size();
      for (std::size_t k = n; k <= limit; ++k)
        if (match(p + 1, k)) return true;
      return false;
    }
    case Token::DosQm: {
      if (atEnd || name_[n] == '.') {
        std::size_t q = p;
        while (q < items_.size() && items_[q].token == Token::DosQm) ++q;
        return match(q, n);
      }
      return match(p + 1, n + 1);
    }
    case Token::DosDot:
      if (atEnd) return match(p + 1, n);
      return name_[n] == '.' && match(p + 1, n + 1);
    case Token::Literal:
      return !atEnd && foldAscii(name_[n]) == foldAscii(item.c) && match(p + 1, n + 1);
    }
    return false;
  }

  std::string_view name_;
  std::vector<Item> items_;
  std::size_t lastDot_;
  std::vector<char> memo_;
};

} // namespace

bool matchesMask(std::string_view name, std::string_view mask) {
  Matcher matcher(name, translate(mask));
  return matcher.match(0, 0);
}

} // namespace platform::posix
