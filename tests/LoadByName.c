/* A C client of relaylink.dll that knows nothing but the plain export names:
 * it loads the DLL at run time, looks every function up with GetProcAddress
 * and calls some of them through __stdcall pointers. On 32-bit Windows it also
 * checks that each call leaves the stack pointer where it was, which fails
 * when the DLL and its callers disagree on who removes the parameters. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

typedef short(__stdcall *ReadFn)(const char *address);
typedef short(__stdcall *CodeFn)(void);
typedef char *(__stdcall *MessageFn)(char *buffer, unsigned short length);
typedef short(__stdcall *ButtonFn)(short key, short mode);

static const char *const kExports[] = {
#include "export_names.inc"
};

static int failures = 0;

static void Expect(int condition, const char *what) {
  if (!condition) {
    fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
  }
}

#if defined(__i386__)
#define STACK_POINTER(where) __asm__ volatile("movl %%esp, %0" : "=r"(where))
#else
#define STACK_POINTER(where) ((where) = 0)
#endif

int main(void) {
  HMODULE library = LoadLibraryA("relaylink.dll");
  if (library == NULL) {
    fprintf(stderr, "FAILED: LoadLibrary(relaylink.dll), error %lu\n", (unsigned long)GetLastError());
    return 1;
  }
  for (size_t i = 0; i < sizeof kExports / sizeof kExports[0]; ++i) {
    if (GetProcAddress(library, kExports[i]) == NULL) {
      fprintf(stderr, "FAILED: no export named %s\n", kExports[i]);
      ++failures;
    }
  }
  Expect(GetProcAddress(library, "_ReadDeviceCfg@4") == NULL, "no decorated name is exported");
  if (failures != 0) return 1;

  ReadFn read = (ReadFn)(void (*)(void))GetProcAddress(library, "ReadDeviceCfg");
  CodeFn errorCode = (CodeFn)(void (*)(void))GetProcAddress(library, "GetErrorCode");
  MessageFn errorMessage = (MessageFn)(void (*)(void))GetProcAddress(library, "GetErrorMsg");
  ButtonFn setButton = (ButtonFn)(void (*)(void))GetProcAddress(library, "SetButtonCfg");

  unsigned long before, after;
  char buffer[101];
  memset(buffer, 'x', sizeof buffer);

  STACK_POINTER(before);
  const short code = errorCode();
  STACK_POINTER(after);
  Expect(code == 0, "GetErrorCode is 0 right after loading");
  Expect(before == after, "GetErrorCode (no parameters) keeps the stack balanced");

  STACK_POINTER(before);
  const char *message = errorMessage(buffer, 100);
  STACK_POINTER(after);
  Expect(message == buffer && buffer[0] == '\0', "GetErrorMsg is empty right after loading");
  Expect(before == after, "GetErrorMsg (two parameters) keeps the stack balanced");

  STACK_POINTER(before);
  const short set = setButton(8, 3);
  STACK_POINTER(after);
  Expect(set == 0, "SetButtonCfg refuses before a read");
  Expect(before == after, "SetButtonCfg (two 16-bit parameters) keeps the stack balanced");

  /* An empty address fails at once, without touching the network. */
  STACK_POINTER(before);
  const short result = read("");
  STACK_POINTER(after);
  Expect(result == 0, "ReadDeviceCfg(\"\") fails");
  Expect(before == after, "ReadDeviceCfg (one parameter) keeps the stack balanced");
  Expect(errorCode() == 1004, "an empty address gives 1004");
  errorMessage(buffer, 10);
  Expect(strcmp(buffer, "Can not co") == 0, "GetErrorMsg copies at most length characters");

  FreeLibrary(library);
  if (failures == 0) printf("relaylink.dll: all 28 names found, calls balanced\n");
  return failures == 0 ? 0 : 1;
}
