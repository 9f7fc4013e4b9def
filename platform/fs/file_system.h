// Files through one path resolver. Inside the program every path is a
// Windows-form CP932 byte string ("data\\System.dat"), relative to the
// project folder or absolute; here it becomes a Linux path: decoded to UTF-8
// first (0x5C can be a second byte), split on '\\' and '/', each component
// matched case-insensitively against its folder (raw bytes tried too),
// trailing dots and spaces dropped. Created files keep the given spelling.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace plat::fs {

// The Linux path the program's path names (existing parts matched, the rest
// spelt as given).
std::string Resolve(const std::string& path);

// fopen through the resolver; modes as the C library's ("rb", "wt", "rt+").
std::FILE* Open(const std::string& path, const char* mode);

bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
// False when the folder could not be made, also when it already exists.
bool MakeDirectory(const std::string& path);
bool RemoveFile(const std::string& path);
bool CopyFile(const std::string& from, const std::string& to);
// Whole folder tree; false (and nothing left of the copy) when any part fails.
bool CopyTree(const std::string& from, const std::string& to);
bool RemoveTree(const std::string& path);
// Names (CP932) of the entries of a folder, sorted by byte value.
std::vector<std::string> List(const std::string& folder);

// The one way a file is read whole. The size is checked before anything is
// read or allocated: a file above nMaxBytes (each kind of file has its cap,
// far above any real file of that kind) is refused at once, whatever its
// size, and so is one that grows past the cap while it is read. out is only
// changed when the file was read.
enum class eReadResult { Read, CannotOpen, TooLarge, ReadError };
eReadResult ReadFileBounded(const std::string& path, std::vector<uint8_t>& out, size_t nMaxBytes);
// The same, true when the file was read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t nMaxBytes);

// The one way a save reaches the disk: a temporary file beside the target,
// every write checked, fsync, rename over the target, fsync of the folder.
// On failure the old file stays, false is returned and *pError (when given)
// holds the errno of the step that failed. The temporary file is named
// TARGET.XXXXXX.saving (six letters or digits), so that one left by a save
// that was killed half-way can be told from every other file.
bool WriteFileAtomic(const std::string& path, const void* data, size_t size, int* pError = nullptr);

// Removes from a folder (not its sub-folders) the temporary files of saves
// that were interrupted before this process started, and only those: files
// named as the atomic writer names its temporaries and last written before
// the start. A save under way in this process is never touched. Returns how
// many were removed.
int RemoveStaleSaveTemporaries(const std::string& folder);

// The folder the program works in (the project folder), as the program
// spells absolute paths.
std::string GetCurrentDirectory();
bool SetCurrentDirectory(const std::string& path);

// Forget cached folder listings (after another process changed a folder).
void ForgetListings();

// Fault hook for tests: from then on the atomic writer's data writes fail
// (as on a full disk) once this many bytes are written (-1: no fault).
void SetWriteFaultAfter(long long nBytes);
// Fault hook for tests: from then on the atomic writer stops where a save
// killed between writing its temporary file and the rename would, leaving
// the temporary file, and returns false.
void SetStopBeforeRename(bool bStop);
// Whether a name is one the atomic writer gives its temporary files.
bool IsSaveTemporaryName(const std::string& name);

}  // namespace plat::fs
