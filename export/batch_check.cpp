#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_set>

#include "export/export.h"

namespace glyphary {
namespace {

// In UTF-8 no byte of a multibyte character is below 0x80, so a byte scan
// cannot mistake part of one for these.
constexpr std::string_view kForbiddenCharacters = "\\/:?<>|";

// Indexed by BatchFault.
constexpr std::array<const char*, 6> kFaultMessages = {
    "正しく入力されていない項目があります",
    "ファイル名に重複があります",
    "ファイル名に \\ / : ? < > | は使えません",
    "NUL 文字は使えません",
    "保存場所を入力してください",
    "保存場所に NUL 文字は使えません",
};
static_assert(int(BatchFault::Incomplete) == 0 && int(BatchFault::DuplicateName) == 1 &&
              int(BatchFault::ForbiddenCharacter) == 2 && int(BatchFault::NulCharacter) == 3 &&
              int(BatchFault::NoFolder) == 4 && int(BatchFault::NulInFolder) == 5);

// ASCII spaces and tabs, and the full-width space an input method types.
bool IsOnlySpaces(std::string_view text) {
  static constexpr std::string_view kIdeographicSpace = "\u3000";
  while (!text.empty()) {
    if (text.front() == ' ' || text.front() == '\t')
      text.remove_prefix(1);
    else if (text.starts_with(kIdeographicSpace))
      text.remove_prefix(kIdeographicSpace.size());
    else
      return false;
  }
  return true;
}

bool HasNul(std::string_view text) {
  return text.find('\0') != std::string_view::npos;
}

bool IsIncomplete(const BatchRow& row) {
  return row.text.empty() != row.name.empty();
}

std::optional<std::size_t> FirstIncomplete(std::span<const BatchRow> rows) {
  const auto it = std::find_if(rows.begin(), rows.end(), IsIncomplete);
  if (it == rows.end()) return std::nullopt;
  return std::size_t(it - rows.begin());
}

// The first row whose name an earlier row already has; a set keeps long
// lists from the command line linear.
std::optional<std::size_t> FirstDuplicate(std::span<const BatchRow> rows) {
  std::unordered_set<std::string_view> seen;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (!rows[i].name.empty() && !seen.insert(rows[i].name).second) return i;
  return std::nullopt;
}

std::optional<std::size_t> FirstForbidden(std::span<const BatchRow> rows) {
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].name.find_first_of(kForbiddenCharacters) != std::string::npos) return i;
  return std::nullopt;
}

std::optional<std::size_t> FirstWithNul(std::span<const BatchRow> rows) {
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (HasNul(rows[i].text) || HasNul(rows[i].name)) return i;
  return std::nullopt;
}

}  // namespace

std::optional<BatchProblem> CheckBatchRows(std::span<const BatchRow> rows,
                                           std::string_view folder) {
  if (auto row = FirstIncomplete(rows)) return BatchProblem{BatchFault::Incomplete, *row};
  if (auto row = FirstDuplicate(rows)) return BatchProblem{BatchFault::DuplicateName, *row};
  if (auto row = FirstForbidden(rows)) return BatchProblem{BatchFault::ForbiddenCharacter, *row};
  if (auto row = FirstWithNul(rows)) return BatchProblem{BatchFault::NulCharacter, *row};
  if (IsOnlySpaces(folder)) return BatchProblem{BatchFault::NoFolder, std::nullopt};
  if (HasNul(folder)) return BatchProblem{BatchFault::NulInFolder, std::nullopt};
  return std::nullopt;
}

const char* BatchFaultMessage(BatchFault fault) {
  return kFaultMessages[std::size_t(fault)];
}

}  // namespace glyphary
