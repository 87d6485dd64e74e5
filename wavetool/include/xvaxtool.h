// XVAXTool: four helpers that reach into the wave buffers an audio input hands over by address.
// Exported by name with C linkage, so a program can bind them at run time (dlopen + dlsym).
// Addresses are pointer-sized; lengths stay 32-bit and are compared as signed values.
#pragma once

#ifdef __cplusplus
#include <cstdint>
#else
#include <stdint.h>
#endif

#if defined(XVAXTOOL_BUILDING)
#define XVAXTOOL_API __attribute__((visibility("default")))
#else
#define XVAXTOOL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The multimedia wave-buffer header. Only the first three fields are read or written here.
typedef struct WAVEHDR {
  char* lpData;              // the sample bytes
  uint32_t dwBufferLength;   // capacity of lpData in bytes
  uint32_t dwBytesRecorded;  // bytes of valid data in lpData
  uintptr_t dwUser;
  uint32_t dwFlags;
  uint32_t dwLoops;
  struct WAVEHDR* lpNext;
  uintptr_t reserved;
} WAVEHDR;

// dwFlags bits an audio input sets on a header it hands over.
#define WHDR_DONE 0x00000001u
#define WHDR_PREPARED 0x00000002u

// Returns p itself as a number: a caller that passes a variable by reference learns its address.
XVAXTOOL_API uintptr_t GetAddress(const void* p);

// Copies len bytes from src into the header's buffer and sets dwBytesRecorded to len.
// 1 on success; 0 (header untouched) for a null header, source or buffer, a negative len, or
// len greater than dwBufferLength.
XVAXTOOL_API int32_t FillWaveHeader(WAVEHDR* hdr, const void* src, int32_t len);

// Copies the header's dwBytesRecorded bytes into dest, whose capacity is len bytes.
// Returns the bytes copied; 0 (nothing copied) for a null header, destination or buffer, when
// dest cannot hold the data, or when the recorded count is not a count the buffer can hold
// (0, negative, or more than dwBufferLength).
XVAXTOOL_API int32_t CopyWaveHeader(const WAVEHDR* hdr, void* dest, int32_t len);

// The byte count of the buffer's data: dwBytesRecorded when above 0, else dwBufferLength; 0 for
// a null header and never negative.
XVAXTOOL_API int32_t ParseWaveHeader(const WAVEHDR* hdr);

// Signatures for binding the functions by name.
typedef uintptr_t (*GetAddressFn)(const void*);
typedef int32_t (*FillWaveHeaderFn)(WAVEHDR*, const void*, int32_t);
typedef int32_t (*CopyWaveHeaderFn)(const WAVEHDR*, void*, int32_t);
typedef int32_t (*ParseWaveHeaderFn)(const WAVEHDR*);

#ifdef __cplusplus
}
#endif
