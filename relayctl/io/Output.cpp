#include "io/Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>

#include "io/Report.h"

namespace relayctl {

// Hands everything on to the stream's own buffer, unbuffered itself, and
// keeps errno of the first write that the buffer did not take in full.
class WatchedOutput::Watch : public std::streambuf {
 public:
  Watch(std::ostream &stream, std::FILE *file) : stream_(stream), file_(file), target_(stream.rdbuf(this)) {}
  ~Watch() override { stream_.rdbuf(target_); }
  Watch(const Watch &) = delete;
  Watch &operator=(const Watch &) = delete;

  // The reason writes failed, 0 when none did: the one noted, else that of a
  // failed flush or earlier write of the C library's own stream.
  int Failure() {
    errno = 0;
    const bool fileFailed = std::fflush(file_) != 0 || std::ferror(file_) != 0;
    if (reason_ != 0) return reason_;
    return fileFailed || stream_.fail() ? (errno != 0 ? errno : EIO) : 0;
  }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    errno = 0;
    if (traits_type::eq_int_type(target_->sputc(traits_type::to_char_type(c)), traits_type::eof())) {
      Note();
      return traits_type::eof();
    }
    return c;
  }
  std::streamsize xsputn(const char *text, std::streamsize count) override {
    errno = 0;
    const std::streamsize written = target_->sputn(text, count);
    if (written < count) Note();
    return written;
  }
  int sync() override {
    errno = 0;
    const int result = target_->pubsync();
    if (result != 0) Note();
    return result;
  }

 private:
  void Note() {
    if (reason_ == 0) reason_ = errno != 0 ? errno : EIO;
  }

  std::ostream &stream_;
  std::FILE *file_;
  std::streambuf *target_;
  int reason_ = 0;
};

WatchedOutput::WatchedOutput()
    : out_(std::make_unique<Watch>(std::cout, stdout)), err_(std::make_unique<Watch>(std::cerr, stderr)) {}

WatchedOutput::~WatchedOutput() = default;

ExitStatus WatchedOutput::Checked(ExitStatus status) {
  std::cout.flush();
  std::cerr.flush();
  const int outFailure = out_->Failure(), errFailure = err_->Failure();
  if (outFailure == 0 && errFailure == 0) return status;
  std::cerr.clear();  // a failed write to standard error leaves it failed; the report tries once more
  if (outFailure != 0) Report(std::string("cannot write standard output: ") + std::strerror(outFailure));
  if (errFailure != 0) Report(std::string("cannot write standard error: ") + std::strerror(errFailure));
  return Worse(status, kExitOutput);
}

}  // namespace relayctl
