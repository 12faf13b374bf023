// The unzip library's interface, shared by the program and the library: the parameter record
// the program fills for each call, the record the library hands to the program's callback, the
// entry point, the action codes and the library's error codes.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define QF_UNZIP_CALL __stdcall
#else
#define QF_UNZIP_CALL
#endif

struct UnZipCallbackInfo;

// The program's callback; its result is 0 to go on. Any other value cancels the current call:
// the item being written is discarded and the call fails with unzip::Cancelled.
using UnZipCallbackProc = std::int32_t(QF_UNZIP_CALL*)(UnZipCallbackInfo* info);

namespace unzip {

inline constexpr std::int32_t On = -1; // the on state of a switch word
inline constexpr std::int32_t Off = 0;

// Offset 8: the version of this record the caller was written for. Informative only.
inline constexpr std::int32_t InterfaceVersion = 110;

// Offset 72: which messages the callback receives, as bits; 7 asks for all of them.
inline constexpr std::int32_t MessagesItems = 1;    // actions 1 and 3
inline constexpr std::int32_t MessagesProgress = 2; // action 2
inline constexpr std::int32_t MessagesErrors = 4;   // action 4
inline constexpr std::int32_t MessagesAll = 7;

// Action codes of UnZipCallbackInfo::ActionCode.
//  1  an item begins: Message holds the entry name as stored, FileSize its uncompressed size
//     (clamped to the largest signed 32-bit value).
//  2  the item progresses: sent once each time the bytes written so far reach another multiple of
//     ProgressUnit beyond the first, so an item of s bytes sends s / ProgressUnit - 1 of them
//     (none below 2 units). A receiver whose bar starts at 1 of s / ProgressUnit (at least 1)
//     and moves one step per action 2 ends at its maximum.
//  3  the item ends, whether it was written or failed; the receiver resets its item display.
//  4  an error: ErrorCode (non-zero, below) and Message tell what failed. It comes before the
//     action 3 of a begun item; a failure found before the item begins (an unknown or refused
//     name, an unreadable archive) sends action 4 alone.
inline constexpr std::int32_t ActionItemBegins = 1;
inline constexpr std::int32_t ActionItemProgress = 2;
inline constexpr std::int32_t ActionItemEnds = 3;
inline constexpr std::int32_t ActionError = 4;
inline constexpr std::uint32_t ProgressUnit = 32768;

// Results of the entry point and error codes of action 4. With several file specifications the
// result is the code of the first failure; the others are still attempted.
inline constexpr std::int32_t Ok = 0;
inline constexpr std::int32_t BadParameters = 1;   // no record, no archive path, bad count
inline constexpr std::int32_t ArchiveNotFound = 2; // the archive cannot be opened
inline constexpr std::int32_t NotAnArchive = 3;    // no readable central directory
inline constexpr std::int32_t EntryNotFound = 4;   // no entry of that name
inline constexpr std::int32_t UnsafeName = 5;      // a name that could write outside the folder
inline constexpr std::int32_t NameTooLong = 6;     // a path or name that fills its whole buffer
inline constexpr std::int32_t Unsupported = 7;     // encrypted, or an unknown compression method
inline constexpr std::int32_t DataError = 8;       // damaged or short data, or a wrong size
inline constexpr std::int32_t ChecksumError = 9;   // CRC-32 of the data differs
inline constexpr std::int32_t WriteError = 10;     // a folder or the file cannot be written
inline constexpr std::int32_t Cancelled = 11;      // the callback asked to stop
inline constexpr std::int32_t Busy = 12;           // called again from inside a callback

inline constexpr std::size_t NameBufferSize = 256; // archive path and file specification buffers
inline constexpr std::size_t MessageSize = 1024;
inline constexpr int MaxFileSpecs = 4098;

// The entry point: ordinal 2 of unzdll.dll; on POSIX, where there are no ordinals, by name.
inline constexpr unsigned EntryOrdinal = 2;
inline constexpr const char* EntryName = "QfUnzip";

} // namespace unzip

// The parameter record. On 32-bit builds every field is a 32-bit word at the offset noted; on
// 64-bit builds the address fields are pointer-wide, in the same order. Words not named below
// are unused and stay 0.
struct UnZipParams {
  std::uint32_t Reserved0;    // 0
  void* Caller;               // 4: handed back in every UnZipCallbackInfo
  std::int32_t Version;       // 8: unzip::InterfaceVersion
  UnZipCallbackProc Callback; // 12: may be null (no messages)
  std::uint32_t Reserved16;   // 16
  std::uint32_t Reserved20;   // 20
  std::int32_t Switch24;      // 24..36: switches this library does not use
  std::int32_t Switch28;
  std::int32_t Switch32;
  std::int32_t Switch36;
  std::int32_t Overwrite;   // 40: on: replace existing files; off: leave them and skip
  std::uint32_t Reserved44; // 44
  std::int32_t Switch48;    // 48..56: switches this library does not use
  std::int32_t Switch52;
  std::int32_t Switch56;
  std::int32_t UseFolders;    // 60: on: create the entry's folders; off: write the bare name
  std::int32_t FileSpecCount; // 64: number of file specifications, 1..MaxFileSpecs
  char* ArchivePath;          // 68: NUL-terminated, in a buffer of NameBufferSize bytes
  std::int32_t MessageLevel;  // 72: unzip::Messages... bits
  char* FileSpecs[unzip::MaxFileSpecs]; // 76: entry names as stored, one buffer each
};

// The record handed to the callback, valid only during that callback.
struct UnZipCallbackInfo {
  std::uint32_t StructSize;         // 0: sizeof(UnZipCallbackInfo)
  void* Caller;                     // 4: UnZipParams::Caller, unchanged
  std::uint32_t Reserved8;          // 8
  std::uint32_t Reserved12;         // 12
  std::int32_t ActionCode;          // 16: unzip::Action...
  std::int32_t ErrorCode;           // 20: with action 4
  std::int32_t FileSize;            // 24: with action 1
  char Message[unzip::MessageSize]; // 28: always NUL-terminated
};

using UnZipEntryProc = std::int32_t(QF_UNZIP_CALL*)(UnZipParams* params);

#if !defined(_WIN64) && (defined(_WIN32) || defined(__i386__))
static_assert(sizeof(void*) == 4);
static_assert(offsetof(UnZipParams, Caller) == 4);
static_assert(offsetof(UnZipParams, Version) == 8);
static_assert(offsetof(UnZipParams, Callback) == 12);
static_assert(offsetof(UnZipParams, Switch24) == 24);
static_assert(offsetof(UnZipParams, Overwrite) == 40);
static_assert(offsetof(UnZipParams, UseFolders) == 60);
static_assert(offsetof(UnZipParams, FileSpecCount) == 64);
static_assert(offsetof(UnZipParams, ArchivePath) == 68);
static_assert(offsetof(UnZipParams, MessageLevel) == 72);
static_assert(offsetof(UnZipParams, FileSpecs) == 76);
static_assert(sizeof(UnZipParams) == 16468);
static_assert(offsetof(UnZipCallbackInfo, Caller) == 4);
static_assert(offsetof(UnZipCallbackInfo, ActionCode) == 16);
static_assert(offsetof(UnZipCallbackInfo, ErrorCode) == 20);
static_assert(offsetof(UnZipCallbackInfo, FileSize) == 24);
static_assert(offsetof(UnZipCallbackInfo, Message) == 28);
#endif

extern "C" std::int32_t QF_UNZIP_CALL QfUnzip(UnZipParams* params);
