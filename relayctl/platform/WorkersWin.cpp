#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string_view>

#include "ExitStatus.h"
#include "Workers.h"

namespace relayctl {
namespace {

// The hidden first argument of a worker; the job's name follows it.
constexpr std::string_view kWorkerOption = "--worker-job";
// Each worker is looked after by a thread of this process that needs little.
constexpr SIZE_T kKeeperStack = 64 * 1024;
// How often the wait for workers looks at the stop request, which a console
// handler sets from a thread of its own.
constexpr std::chrono::milliseconds kStopCheck{100};

bool WriteAll(HANDLE handle, std::string_view text) {
  while (!text.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) return false;
    text.remove_prefix(written);
  }
  return true;
}

// Everything until the end of the pipe or file.
std::string ReadAll(HANDLE handle) {
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(handle, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  return text;
}

struct Done {
  std::size_t index;
  std::string text;
};

// Jobs that ended, handed from the keepers' threads to the waiting loop.
struct Finished {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Done> done;
};

// One running worker: its process, the pipe ends this process keeps, and
// what the keeper hands back.
struct Keeper {
  HANDLE process = nullptr;
  HANDLE input = nullptr;   // the worker's standard input, written here
  HANDLE output = nullptr;  // the worker's standard output, read here
  std::size_t index = 0;
  std::string request;
  Finished *finished = nullptr;
};

// The keeper's thread: hands the request over, reads the result to its end,
// waits for the worker to exit.
DWORD WINAPI Keep(void *parameter) {
  const std::unique_ptr<Keeper> keeper(static_cast<Keeper *>(parameter));
  WriteAll(keeper->input, keeper->request);
  CloseHandle(keeper->input);
  std::string text = ReadAll(keeper->output);
  CloseHandle(keeper->output);
  WaitForSingleObject(keeper->process, INFINITE);
  CloseHandle(keeper->process);
  // Told under the lock: once it is let go, the waiting loop may end and
  // take `finished` with it.
  const std::lock_guard lock(keeper->finished->mutex);
  keeper->finished->done.push_back({keeper->index, std::move(text)});
  keeper->finished->changed.notify_one();
  return 0;
}

// A pipe with one end for the worker (inheritable) and the other for this
// process: the write end when the worker reads, else the read end.
bool MakePipe(HANDLE &read, HANDLE &write, bool workerReads) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  if (!CreatePipe(&read, &write, &inheritable, 0)) return false;
  SetHandleInformation(workerReads ? write : read, HANDLE_FLAG_INHERIT, 0);
  return true;
}

// Starts a worker for `job` on `request`, looked after by a thread of its
// own; false when it could not be started.
bool Start(const WorkerJob &job, std::size_t index, std::string request, Finished &finished) {
  wchar_t program[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return false;
  std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " +
                             std::wstring(kWorkerOption.begin(), kWorkerOption.end()) + L" ";
  for (const char *c = job.name; *c != '\0'; ++c) commandLine += static_cast<wchar_t>(*c);

  HANDLE workerInput = nullptr, input = nullptr, output = nullptr, workerOutput = nullptr;
  if (!MakePipe(workerInput, input, true)) return false;
  if (!MakePipe(output, workerOutput, false)) {
    CloseHandle(workerInput);
    CloseHandle(input);
    return false;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = workerInput;
  startup.hStdOutput = workerOutput;
  startup.hStdError = nullptr;  // workers report through their result only
  PROCESS_INFORMATION started{};
  // Without a console the worker gets no Ctrl-C: it finishes its board, and
  // this process decides what to start next.
  const bool made = CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &startup, &started);
  // The worker's ends are its own now; closed here before the next worker is
  // made, so that no other worker inherits them.
  CloseHandle(workerInput);
  CloseHandle(workerOutput);
  if (!made) {
    CloseHandle(input);
    CloseHandle(output);
    return false;
  }
  CloseHandle(started.hThread);
  auto keeper = std::make_unique<Keeper>(Keeper{started.hProcess, input, output, index, std::move(request), &finished});
  const HANDLE thread =
      CreateThread(nullptr, kKeeperStack, Keep, keeper.get(), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) {  // the worker reads the end of its input and ends
    CloseHandle(input);
    CloseHandle(output);
    WaitForSingleObject(started.hProcess, INFINITE);
    CloseHandle(started.hProcess);
    return false;
  }
  keeper.release();  // the thread's now
  CloseHandle(thread);
  return true;
}

}  // namespace

std::size_t RunInWorkers(const WorkerJob &job, std::size_t count, int parallel,
                         const std::function<std::string(std::size_t)> &request,
                         const std::function<void(std::size_t, const std::string &)> &finished,
                         const std::function<bool()> &stop) {
  Finished ended;
  std::size_t next = 0, running = 0;
  const std::size_t most = parallel < 1 ? 1 : static_cast<std::size_t>(parallel);
  for (;;) {
    while (next < count && running < most && !stop()) {
      if (!Start(job, next, request(next), ended)) {
        if (running == 0) {  // nothing will free a process slot: the job cannot run
          finished(next++, {});
          continue;
        }
        break;
      }
      ++next;
      ++running;
    }
    if (running == 0) break;
    std::deque<Done> done;
    {
      std::unique_lock lock(ended.mutex);
      ended.changed.wait_for(lock, kStopCheck, [&] { return !ended.done.empty(); });
      done.swap(ended.done);
    }
    for (const Done &job : done) {
      --running;
      finished(job.index, job.text);
    }
  }
  return next;
}

std::optional<int> RunAsWorker(int argc, char **argv, const std::vector<const WorkerJob *> &jobs) {
  if (argc != 3 || argv[1] != kWorkerOption) return std::nullopt;
  for (const WorkerJob *job : jobs) {
    if (std::string_view(argv[2]) != job->name) continue;
    const std::string result = job->run(ReadAll(GetStdHandle(STD_INPUT_HANDLE)));
    return WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), result) ? kExitDone : kExitCommunication;
  }
  return kExitUsage;
}

}  // namespace relayctl
