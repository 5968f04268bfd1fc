/* A client of the installed library, in C: reads the board at ADDRESS, prints
 * its address and firmware, then has a bad pending IP address rejected before
 * anything is sent. Exits 0 only when both behave as the header says. */
#include <relaylink.h>

#include <stdio.h>

int main(int argc, char **argv) {
  char text[101];
  short code;
  if (argc != 2) {
    fprintf(stderr, "usage: relaylink_consumer ADDRESS\n");
    return 64;
  }
  if (ReadDeviceCfg(argv[1]) != 1) {
    fprintf(stderr, "read failed: %d %s\n", GetErrorCode(), GetErrorMsg(text, 100));
    return 1;
  }
  if (GetIpAddr(text, 100) == 1) printf("ip %s\n", text);
  if (GetVersion(text, 100) == 1) printf("firmware %s\n", text);
  SetIpAddr("256.0.0.1");
  code = SaveDeviceCfg() == 0 ? GetErrorCode() : 0;
  printf("bad ip: %d %s\n", code, GetErrorMsg(text, 100));
  return code == RELAYLINK_BAD_IP_ADDR ? 0 : 1;
}
