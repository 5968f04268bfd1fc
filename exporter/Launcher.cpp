#include "Launcher.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <vector>

namespace relay_exporter {
namespace {

// A request is small (an address, a module's name): one message each.
constexpr std::size_t kMaxRequestBytes = 4096;
// A worker ends itself at its time (SIGALRM); its parent stops waiting this
// much later only for one that could not.
constexpr int kGraceMs = 5000;

// The message: the worker's time, then the request; the pipe's write end,
// on which the worker answers, goes with it.
struct Header {
  int timeoutMs;
};

// Room for one descriptor beside a message.
struct Control {
  alignas(cmsghdr) char bytes[CMSG_SPACE(sizeof(int))] = {};
};

msghdr Message(iovec &data, Control &control) {
  msghdr message{};
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  message.msg_control = control.bytes;
  message.msg_controllen = sizeof control.bytes;
  return message;
}

bool SendRequest(int socket, const std::string &request, int timeoutMs, int answerEnd) {
  std::string message(sizeof(Header), '\0');
  const Header header{timeoutMs};
  std::memcpy(message.data(), &header, sizeof header);
  message += request;
  iovec data{message.data(), message.size()};
  Control control;
  msghdr out = Message(data, control);
  cmsghdr *rights = CMSG_FIRSTHDR(&out);
  rights->cmsg_level = SOL_SOCKET;
  rights->cmsg_type = SCM_RIGHTS;
  rights->cmsg_len = CMSG_LEN(sizeof(int));
  std::memcpy(CMSG_DATA(rights), &answerEnd, sizeof answerEnd);
  ssize_t sent;
  while ((sent = ::sendmsg(socket, &out, MSG_NOSIGNAL)) < 0 && errno == EINTR) {
  }
  return sent == static_cast<ssize_t>(message.size());
}

// The next request and its answer's descriptor; false when the exporter is
// gone.
bool ReceiveRequest(int socket, std::string &request, int &timeoutMs, int &answerEnd) {
  std::vector<char> buffer(sizeof(Header) + kMaxRequestBytes);
  iovec data{buffer.data(), buffer.size()};
  Control control;
  msghdr in = Message(data, control);
  ssize_t received;
  while ((received = ::recvmsg(socket, &in, MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {
  }
  if (received < static_cast<ssize_t>(sizeof(Header))) return false;
  const cmsghdr *rights = CMSG_FIRSTHDR(&in);
  if (rights == nullptr || rights->cmsg_type != SCM_RIGHTS) return false;
  std::memcpy(&answerEnd, CMSG_DATA(rights), sizeof answerEnd);
  Header header;
  std::memcpy(&header, buffer.data(), sizeof header);
  timeoutMs = header.timeoutMs;
  request.assign(buffer.data() + sizeof header, static_cast<std::size_t>(received) - sizeof header);
  return true;
}

// SIGALRM, by default, ends the worker when its time is up. 0 ms: no alarm.
void EndAfter(int ms) {
  itimerval timer{};
  timer.it_value.tv_sec = ms / 1000;
  timer.it_value.tv_usec = (ms % 1000) * 1000;
  ::setitimer(ITIMER_REAL, &timer, nullptr);
}

void WriteAll(int fd, const std::string &text) {
  for (std::size_t written = 0; written < text.size();) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    written += static_cast<std::size_t>(n);
  }
}

[[noreturn]] void Launch(int socket, const Launcher::Job &job) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives the exporter
  std::signal(SIGCHLD, SIG_IGN);       // workers are reaped by the system
  std::string request;
  int timeoutMs = 0, answerEnd = -1;
  while (ReceiveRequest(socket, request, timeoutMs, answerEnd)) {
    if (::fork() == 0) {
      ::close(socket);
      std::signal(SIGCHLD, SIG_DFL);
      EndAfter(timeoutMs);
      const std::string answer = job(request);
      EndAfter(0);  // handed over whole
      WriteAll(answerEnd, answer);
      ::_exit(0);
    }
    ::close(answerEnd);  // the worker's alone now; a failed fork leaves the exporter an empty answer
  }
  ::_exit(0);
}

}  // namespace

bool Launcher::Start(Job job) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return false;
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    ::close(ends[0]);
    Launch(ends[1], job);
  }
  ::close(ends[1]);
  socket_ = ends[0];
  return true;
}

std::optional<std::string> Launcher::Run(const std::string &request, int timeoutMs) const {
  if (request.size() > kMaxRequestBytes) return std::nullopt;
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) return std::nullopt;
  const bool sent = SendRequest(socket_, request, timeoutMs, pipe[1]);
  ::close(pipe[1]);
  std::string answer;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs + kGraceMs);
  bool ended = !sent;
  while (!ended) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd waited{pipe[0], POLLIN, 0};
    const int ready = ::poll(&waited, 1, static_cast<int>(std::max<long long>(0, left)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;  // the worker overran its time: no answer
    char buffer[4096];
    const ssize_t n = ::read(pipe[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ended = true;
    if (n > 0) answer.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipe[0]);
  if (!ended || answer.empty()) return std::nullopt;
  return answer;
}

}  // namespace relay_exporter
