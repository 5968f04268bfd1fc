#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>

#include "platform/Files.h"

namespace relayctl {
namespace {

// The system's text for the calling thread's last error, without its line end.
std::string LastErrorText() {
  const DWORD code = GetLastError();
  char *text = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char *>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

bool WriteAll(HANDLE file, const std::string &text) {
  for (std::size_t done = 0; done < text.size();) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
    if (!WriteFile(file, text.data() + done, chunk, &written, nullptr)) return false;
    done += written;
  }
  return true;
}

// Security for a new file that only the current user may open: a protected
// access list (nothing inherited from the folder) with the one entry of the
// user. Without the user's identity, the folder's default applies.
class OwnerOnly {
 public:
  OwnerOnly() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user_.resize(size);
    const bool known = size > 0 && GetTokenInformation(token, TokenUser, user_.data(), size, &size);
    CloseHandle(token);
    if (!known) return;
    const PSID sid = reinterpret_cast<TOKEN_USER *>(user_.data())->User.Sid;
    acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
    const auto acl = reinterpret_cast<ACL *>(acl_.data());
    if (InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
        AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) &&
        InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
        SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
      attributes_ = {sizeof attributes_, &descriptor_, FALSE};
      ready_ = true;
    }
  }
  SECURITY_ATTRIBUTES *Attributes() { return ready_ ? &attributes_ : nullptr; }

 private:
  std::vector<DWORD> user_, acl_;  // DWORD elements: aligned as the structures need
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool ready_ = false;
};

}  // namespace

std::optional<std::string> WriteStandardOutput(const std::string &text) {
  std::cout.flush();
  std::fflush(stdout);
  if (WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), text)) return std::nullopt;
  return LastErrorText();
}

std::optional<std::string> ReplaceWithPrivateFile(const std::filesystem::path &target, const std::string &text) {
  OwnerOnly security;
  const std::string base = (target.parent_path() / ("." + target.filename().string() + ".")).string();
  std::string temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
    temporary = base + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount() + attempt);
    file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, security.Attributes(), CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) return LastErrorText();
  bool done = WriteAll(file, text) && FlushFileBuffers(file);
  std::string reason = done ? std::string() : LastErrorText();
  CloseHandle(file);
  if (done) {
    done = MoveFileExA(temporary.c_str(), target.string().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!done) reason = LastErrorText();
  }
  if (done) return std::nullopt;
  DeleteFileA(temporary.c_str());
  return reason;
}

}  // namespace relayctl
