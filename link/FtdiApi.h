// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstdint>

// The few D2XX types and the function table through which the port module
// reaches a back-end (FTDI's library or the virtual panels). Declared from the
// library's published ABI.

#if defined(_WIN32) && !defined(_WIN64)
#define FT_API __stdcall
#else
#define FT_API
#endif

using FT_STATUS = std::uint32_t;
using FT_HANDLE = void*;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using UCHAR = std::uint8_t;
using USHORT = std::uint16_t;

static_assert(sizeof(FT_STATUS) == 4 && sizeof(DWORD) == 4 && sizeof(ULONG) == 4);

struct FT_DEVICE_LIST_INFO_NODE {
    ULONG Flags;
    ULONG Type;
    ULONG ID;
    DWORD LocId;
    char SerialNumber[16];
    char Description[64];
    FT_HANDLE ftHandle;
};
static_assert(sizeof(void*) != 8 || sizeof(FT_DEVICE_LIST_INFO_NODE) == 104);
static_assert(sizeof(void*) != 4 || sizeof(FT_DEVICE_LIST_INFO_NODE) == 100);

inline constexpr FT_STATUS FT_OK = 0;
inline constexpr FT_STATUS FT_INVALID_HANDLE = 1;
inline constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
inline constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
inline constexpr FT_STATUS FT_IO_ERROR = 4;
inline constexpr FT_STATUS FT_INSUFFICIENT_RESOURCES = 5;
inline constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
inline constexpr FT_STATUS FT_INVALID_BAUD_RATE = 7;
inline constexpr FT_STATUS FT_NOT_SUPPORTED = 17;
inline constexpr FT_STATUS FT_OTHER_ERROR = 18;

inline constexpr DWORD FT_OPEN_BY_LOCATION = 4;
inline constexpr ULONG FT_PURGE_RX = 1;
inline constexpr ULONG FT_PURGE_TX = 2;
inline constexpr UCHAR FT_BITS_8 = 8;
inline constexpr UCHAR FT_STOP_BITS_1 = 0;
inline constexpr UCHAR FT_PARITY_NONE = 0;
inline constexpr USHORT FT_FLOW_NONE = 0;
inline constexpr ULONG FT_FLAGS_OPENED = 1;
inline constexpr ULONG FT_DEVICE_232R = 5;

// Every FTDI call the port module makes, declared once: its name without "FT_",
// whether a back-end must provide it, and its parameters. The table below, the
// D2XX binder, the back-ends' tables and the virtual bus's call log are made
// from this list.
#define QUVO_FTDI_CALLS(CALL)                                                                      \
    CALL(CreateDeviceInfoList, Required, (DWORD * count))                                          \
    CALL(GetDeviceInfoList, Required, (FT_DEVICE_LIST_INFO_NODE * list, DWORD * count))            \
    CALL(OpenEx, Required, (void* argument, DWORD flags, FT_HANDLE* handle))                       \
    CALL(Close, Required, (FT_HANDLE handle))                                                      \
    CALL(Read, Required, (FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* got))               \
    CALL(Write, Required, (FT_HANDLE handle, void* buffer, DWORD toWrite, DWORD* written))         \
    CALL(ResetDevice, Required, (FT_HANDLE handle))                                                \
    CALL(SetBaudRate, Required, (FT_HANDLE handle, ULONG baud))                                    \
    CALL(SetDataCharacteristics, Required,                                                         \
         (FT_HANDLE handle, UCHAR wordLength, UCHAR stopBits, UCHAR parity))                       \
    CALL(SetFlowControl, Required, (FT_HANDLE handle, USHORT flow, UCHAR xon, UCHAR xoff))         \
    CALL(SetTimeouts, Required, (FT_HANDLE handle, ULONG readMs, ULONG writeMs))                   \
    CALL(Purge, Required, (FT_HANDLE handle, ULONG mask))                                          \
    CALL(GetQueueStatus, Required, (FT_HANDLE handle, DWORD * rxBytes))                            \
    CALL(GetStatus, Required,                                                                      \
         (FT_HANDLE handle, DWORD * rxBytes, DWORD * txBytes, DWORD * eventWord))                  \
    /* Beyond the calls the set-up has always made: lets a real chip answer fast. */               \
    CALL(SetLatencyTimer, Optional, (FT_HANDLE handle, UCHAR milliseconds))                        \
    CALL(SetChars, Optional,                                                                       \
         (FT_HANDLE handle, UCHAR eventChar, UCHAR eventCharEnabled, UCHAR errorChar,              \
          UCHAR errorCharEnabled))

// Whether a back-end may lack a call: the panel then works, only slower.
enum class FtdiCallNeed { Required, Optional };

struct FtdiApi {
#define QUVO_FTDI_POINTER(name, need, parameters) FT_STATUS(FT_API* name) parameters = nullptr;
    QUVO_FTDI_CALLS(QUVO_FTDI_POINTER)
#undef QUVO_FTDI_POINTER
};
