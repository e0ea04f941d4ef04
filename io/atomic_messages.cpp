#include "io/atomic_messages.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace glyphary {
namespace {

// What the user can act on: which of the common causes it was.
constexpr std::pair<int, const char*> kReasons[] = {
    {EACCES, "書き込みの許可がありません"},
    {EPERM, "操作が許可されていません"},
    {ENOENT, "フォルダーが見つかりません"},
    {ENOTDIR, "途中にフォルダーでないものがあります"},
    {EISDIR, "同じ名前のフォルダーがあります"},
    {ENAMETOOLONG, "名前が長すぎます"},
    {ELOOP, "シンボリックリンクが循環しています"},
    {EROFS, "読み取り専用のファイルシステムです"},
    {ENOSPC, "ディスクに空きがありません"},
    {EDQUOT, "ディスクの使用量の制限を超えています"},
    {EFBIG, "ファイルが大きすぎます"},
    {ETXTBSY, "ファイルが使用中です"},
    {EBUSY, "ファイルが使用中です"},
    {EMFILE, "開いているファイルが多すぎます"},
    {ENFILE, "開いているファイルが多すぎます"},
    {ENOMEM, "メモリが足りません"},
    {EIO, "入出力エラーが起きました"},
};

FileError WithReason(const std::string& message, const std::string& reason) {
  return FileError(message + " (" + reason + ")", reason);
}

}  // namespace

std::string ReasonFor(int err) {
  for (const auto& [code, phrase] : kReasons)
    if (code == err) return phrase;
  return std::strerror(err);
}

FileError CannotCreate(const std::string& path, int err) {
  return WithReason("ファイル " + path + " を作成できません", ReasonFor(err));
}

FileError CannotCreateNonRegular(const std::string& path) {
  return WithReason("ファイル " + path + " を作成できません", "通常のファイルではありません");
}

FileError CannotWrite(const std::string& path, int err) {
  return WithReason("ファイル " + path + " に書き込めません", ReasonFor(err));
}

}  // namespace glyphary
