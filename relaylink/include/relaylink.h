/*
 * relaylink: configuration of one network relay board over TCP port 5111.
 *
 * The library keeps one module-level record for the board it last read. The
 * calling order is: ReadDeviceCfg; on success the getters, then the setters,
 * then SaveDeviceCfg; after any call that failed, GetErrorCode and GetErrorMsg.
 *
 * Conventions shared by every function below:
 *   - Flags and results are 16-bit: 1 means yes or success, 0 no or failure.
 *   - Text goes in as a zero-terminated single-byte string that the library
 *     copies; a null pointer counts as empty text. The caller keeps ownership.
 *   - Text comes out through the caller's buffer: at most `length` characters
 *     are copied, then a terminating zero, so the buffer must hold `length` + 1
 *     bytes. A getter that answers 0 leaves the buffer untouched, and so does
 *     every getter given a null buffer.
 *   - Getters and setters other than GetErrorCode and GetErrorMsg refuse
 *     (answer 0, store nothing, set no status code) until a read succeeded,
 *     and again after a save or read that left the library not ready.
 *   - Status codes (GetErrorCode) are the RELAYLINK_ constants below, each
 *     with its message (GetErrorMsg) in the trailing comment.
 *     Codes are only overwritten, never cleared: they describe the last
 *     failure or the last save.
 *   - Only ReadDeviceCfg and SaveDeviceCfg block (on the network); all other
 *     functions return at once. None of them is safe to call from two threads
 *     at the same time.
 */
#ifndef RELAYLINK_H
#define RELAYLINK_H

#if defined(_WIN32)
#define RELAYLINK_CALL __stdcall
#else
#define RELAYLINK_CALL
#endif

/* Status codes: communication (1001..1006), a pending value rejected
 * (2001..2006), saved (3001..3002). The comment gives the message. */
#define RELAYLINK_READ_TIMEOUT 1001   /* "Communication time out." (read command got no reply) */
#define RELAYLINK_WRITE_REFUSED 1002  /* "Operation failed." (write not acknowledged by ">OK;") */
#define RELAYLINK_WRITE_TIMEOUT 1003  /* "Communication time out." (write command got no reply) */
#define RELAYLINK_CONNECT_FAILED 1004 /* "Can not connect to the device." (no connection) */
#define RELAYLINK_BAD_REPLY 1005      /* "Can not read device configurations. Please check if an updated version of this software is available." */
#define RELAYLINK_NOT_READY 1006      /* "Can not connect to the device." (save while not ready) */
#define RELAYLINK_BAD_IP_ADDR 2001    /* "Wrong IP address." */
#define RELAYLINK_BAD_SUB_MASK 2002   /* "Subnet mask is wrong." */
#define RELAYLINK_BAD_GATEWAY 2003    /* "Gateway is wrong." */
#define RELAYLINK_BAD_DNS 2004        /* "DNS is wrong." */
#define RELAYLINK_BAD_WEB_SERVER 2005 /* "Please enter the server for remote control." */
#define RELAYLINK_BAD_PASSWORD 2006   /* "Password should be 6 digits." */
#define RELAYLINK_SAVED_AND_RESTARTED 3001 /* "Config was saved successfully, and device was restarted." */
#define RELAYLINK_SAVED 3002          /* "Config was saved successfully." */

#ifdef __cplusplus
extern "C" {
#endif

/* Reads the board at `address` (dotted quad): connects to port 5111 (giving
 * up after 5000 ms), asks for the configuration, waits at most 5000 ms for the
 * reply and checks it. Returns 1 and makes the library ready on success.
 * Returns 0 on failure with RELAYLINK_CONNECT_FAILED (no connection; also for
 * an empty address, without any attempt), RELAYLINK_READ_TIMEOUT (no reply) or
 * RELAYLINK_BAD_REPLY (malformed reply), and leaves the library not ready. The address is kept for the next save. Blocks. */
short RELAYLINK_CALL ReadDeviceCfg(const char *address);

/* Validates the pending values and writes each one that differs from the
 * board, then restarts the board if anything was written. Blocks.
 * Returns 1 with RELAYLINK_SAVED_AND_RESTARTED (written and restarted; library
 * no longer ready), RELAYLINK_SAVED (nothing differed; still ready), or
 * RELAYLINK_WRITE_REFUSED/RELAYLINK_WRITE_TIMEOUT when only the restart
 * command failed (still ready). Returns 0 with RELAYLINK_NOT_READY, a
 * RELAYLINK_BAD_... code (a pending value rejected before anything was sent;
 * still ready), RELAYLINK_CONNECT_FAILED or RELAYLINK_WRITE_REFUSED/
 * RELAYLINK_WRITE_TIMEOUT (connection or a write failed; no longer ready). */
short RELAYLINK_CALL SaveDeviceCfg(void);

/* The last status code, 0 before any was set. */
short RELAYLINK_CALL GetErrorCode(void);

/* Copies the message of the last status code ("" before any) into `buffer`
 * and returns `buffer`. Makes no readiness test. */
char *RELAYLINK_CALL GetErrorMsg(char *buffer, unsigned short length);

/* 1 while the values of the last read may be used and saved. */
short RELAYLINK_CALL DeviceCfgReady(void);

/* Capabilities of the board last read: remote control, key modes, others.
 * Each answers 0 while not ready. */
short RELAYLINK_CALL CanCfgWeb(void);
short RELAYLINK_CALL CanCfgButton(void);
short RELAYLINK_CALL CanCfgMisc(void);

/* Pending flags (what the next save writes): remote control on, restore the
 * relay state after power off. 0 while not ready. */
short RELAYLINK_CALL GetEnableWeb(void);
short RELAYLINK_CALL GetRestoreState(void);

/* Firmware version "1.0.<item>" of the board last read; 0 while not ready or
 * when that board's reply carried no version item. */
short RELAYLINK_CALL GetVersion(char *buffer, unsigned short length);

/* Values as the board holds them (as last read or written). 1 and the text
 * copied into `buffer`, or 0 while not ready. */
short RELAYLINK_CALL GetIpAddr(char *buffer, unsigned short length);
short RELAYLINK_CALL GetSubMask(char *buffer, unsigned short length);
short RELAYLINK_CALL GetGateway(char *buffer, unsigned short length);
short RELAYLINK_CALL GetDeviceId(char *buffer, unsigned short length);
short RELAYLINK_CALL GetDns(char *buffer, unsigned short length);
short RELAYLINK_CALL GetWebServer(char *buffer, unsigned short length);
short RELAYLINK_CALL GetPassword(char *buffer, unsigned short length);

/* Mode of key 1..8 as the board holds it: 1 "Keep State", 2 "Follow",
 * 3 "Jog". 0 while not ready, for a key outside 1..8 or on a board without key
 * modes. A board may report any byte as a mode: the answer is then the byte's
 * value (0..255) minus that of '0' (48), so that '0' plus the answer is the
 * board's own character ('x' answers 72, 0xE9 answers 185, '-' answers -3). */
short RELAYLINK_CALL GetButtonCfg(short key);

/* Pending flags: any non-zero flag means on. 1, or 0 while not ready. */
short RELAYLINK_CALL SetEnableWeb(short flag);
short RELAYLINK_CALL SetRestoreState(short flag);

/* Pending texts, stored as given (checked only by SaveDeviceCfg).
 * 1, or 0 while not ready. */
short RELAYLINK_CALL SetIpAddr(const char *text);
short RELAYLINK_CALL SetSubMask(const char *text);
short RELAYLINK_CALL SetGateway(const char *text);
short RELAYLINK_CALL SetDns(const char *text);
short RELAYLINK_CALL SetWebServer(const char *text);
short RELAYLINK_CALL SetPassword(const char *text);

/* Pending mode 1..3 of key 1..8. 0 while not ready, for a key or mode out of
 * range, or on a board without key modes; else 1. */
short RELAYLINK_CALL SetButtonCfg(short key, short mode);

#ifdef __cplusplus
}
#endif

#endif /* RELAYLINK_H */
