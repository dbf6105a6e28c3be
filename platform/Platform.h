// The platform layer: every call into the operating system that the engine, the plug-ins, the
// launcher and the hosts make goes through here, so that nothing else includes an OS header.
// One implementation for POSIX (platform/posix) and one for Win32 (platform/win32).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The layer is a static library linked into the engine core, which exports it, so that the
// engine, its plug-ins, the hosts and the tests share one copy (one user sink, one answer queue).
// Targets linking the library itself see VPLAT_EXPORTS; everyone else imports from the engine.
#if defined(_WIN32)
#if defined(VPLAT_EXPORTS)
#define VPLAT_API __declspec(dllexport)
#else
#define VPLAT_API __declspec(dllimport)
#endif
#else
#define VPLAT_API __attribute__((visibility("default")))
#endif

namespace vplat {

// ------------------------------------------------------------------ modules

using ModuleHandle = void*;

// Loads a module. A name containing a path separator ('/' or '\\') is loaded as that path.
// A bare name is searched in the folders listed in the "PATH" environment variable (in order),
// then left to the system loader.
// On Linux: '\\' is treated as '/', a name ending in ".dll" (any case) is looked up with the
// ".so" ending instead, and every path component is matched ignoring case when the exact name
// does not exist (so "channels\\fileloader.dll" finds "channels/FileLoader.so"). Before dlopen,
// the module's ELF DT_NEEDED entries that the process does not hold yet and that are found in
// the PATH folders are loaded first (recursively), so that a plug-in's dependency sitting in a
// "3rd" folder on PATH resolves (the Linux loader does not read PATH).
// Returns null on failure; lastErrorCode() then tells why (2: not found, 126: a dependency is
// missing, 193: a bad or unloadable image; on Windows the system's code).
VPLAT_API ModuleHandle loadModule(const char* nameOrPath);

// Address of an exported function or variable, or null (lastErrorCode() is then 127).
VPLAT_API void* findExport(ModuleHandle module, const char* name);

// Releases a module loaded by loadModule (and on Linux the dependencies it pulled in).
VPLAT_API void freeModule(ModuleHandle module);

// Why the last loadModule/findExport on this thread failed; 0 after a success.
VPLAT_API uint32_t lastErrorCode();

// The system's words for the last failure on this thread (dlerror() text on Linux).
VPLAT_API const char* lastErrorText();

// ------------------------------------------------------------------ paths and files

// File extension of loadable modules without the dot: "dll" on Windows, "so" on Linux.
VPLAT_API const char* moduleExtension();

// Separator between folders in a path: '\\' on Windows, '/' on Linux.
VPLAT_API char pathSeparator();

// Separator between entries of "PATH": ';' on Windows, ':' on Linux.
VPLAT_API char pathListSeparator();

// The path the system understands for a path written the Windows way. On Linux '\\' becomes
// '/', then every component that does not exist as written is matched ignoring case against its
// folder's entries (components that match nothing stay as written). Windows: unchanged.
VPLAT_API std::string nativePath(const char* path);

// True when something (file or folder) exists at the path (through nativePath).
VPLAT_API bool fileExists(const char* path);

// Opens (creating it when missing), appends and closes, like writing one log line. The file is
// never held open, so a crash right after loses nothing already appended.
VPLAT_API bool appendToFile(const char* path, const void* data, size_t size);

// Full path of the folder that holds the running executable, without a trailing separator.
// Hosts find the engine and the plug-in folders from here; tests find their test modules.
VPLAT_API std::string executableDir();

// ------------------------------------------------------------------ file contents and folders

// Reads the whole file into data. False (data empty) when it cannot be read or is a folder.
VPLAT_API bool readFile(const char* path, std::vector<uint8_t>& data);

// Attribute bits in the Windows values, the same on every platform.
constexpr uint32_t kAttributeReadOnly = 0x01;
constexpr uint32_t kAttributeDirectory = 0x10;

// The attribute bits of a file or folder; false when nothing exists at the path. On Linux a
// file is read-only when its owner may not write it (root included, unlike an access check).
VPLAT_API bool fileAttributes(const char* path, uint32_t& attributes);

// Sets or clears the read-only attribute (on Linux: clears every write permission, or gives
// the owner write permission back).
VPLAT_API bool setReadOnly(const char* path, bool readOnly);

// Puts the file from in place of the file to in one step, replacing it when it exists: to is
// at every moment either the old file or the complete new one. Both in the same folder.
VPLAT_API bool replaceFile(const char* from, const char* to);

// Removes a file; false when it did not exist or could not be removed.
VPLAT_API bool deleteFile(const char* path);

// The names of the files (not folders) directly in folder, sorted bytewise; false when the
// folder cannot be read.
VPLAT_API bool listFolder(const char* folder, std::vector<std::string>& names);

// ------------------------------------------------------------------ time

// Milliseconds since some fixed point, 32-bit: wraps after about 49.7 days, so compare by
// difference, never by order.
VPLAT_API uint32_t tickCount();

// Suspends the calling thread for at least ms milliseconds.
VPLAT_API void sleepMs(uint32_t ms);

// The wall clock in the local time zone (month 1-12, day 1-31, hour 0-23).
struct LocalTime {
  int year, month, day, hour, minute, second;
};
VPLAT_API LocalTime localTime();

// ------------------------------------------------------------------ ids

// A new unique id in the Windows GUID byte layout (Data1, Data2 and Data3 little-endian, then
// Data4): CoCreateGuid on Windows, a random version 4 id on Linux. Both builds store the same
// bytes, so an id written on one reads back identically on the other.
VPLAT_API void newGuid(unsigned char out16[16]);

// ------------------------------------------------------------------ environment

// Reads a variable of the process environment; false when it is not set.
VPLAT_API bool getEnv(const char* name, std::string& value);

// Sets a variable of the process environment (null value removes it). The module loader and
// child processes see the change.
VPLAT_API bool setEnv(const char* name, const char* value);

// ------------------------------------------------------------------ registry (string values)

// On Windows the real registry. On Linux a text file in the Windows ".reg" syntax, path from
// VEXILON_REGISTRY, default $XDG_CONFIG_HOME/vexilon/registry.reg ($HOME/.config when unset);
// key and value names compare ignoring case; each write replaces the file atomically.
enum class RegRoot { LocalMachine, CurrentUser, ClassesRoot };
enum class RegResult { Ok, NoKey, NoValue, NotString, Failed };

// Reads a string value. A null or empty name is the key's default value.
VPLAT_API RegResult regGetString(RegRoot root, const char* key, const char* name,
                                 std::string& value);

// Writes a string value, creating the key (and its parents) when missing.
VPLAT_API bool regSetString(RegRoot root, const char* key, const char* name, const char* value);

// Removes a value; false when it did not exist or could not be removed.
VPLAT_API bool regDeleteValue(RegRoot root, const char* key, const char* name);

// ------------------------------------------------------------------ the user

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Error, Warning, Information, Question };
enum class Answer { Ok, Cancel, Yes, No, Retry };
using WindowHandle = void*;

// Shows a message box and returns the user's answer. Where no user is present (always on
// Linux; on Windows when the box cannot be shown or VEXILON_HEADLESS=1) the box is written to
// standard error as one block and answered from the comma-separated queue in VEXILON_ANSWERS
// (ok, cancel, yes, no, retry; one consumed per box), else by the safe default: Ok for Ok,
// No for YesNo, Cancel for the others. Never blocks without a user.
VPLAT_API Answer messageBox(WindowHandle owner, const char* text, const char* caption,
                            Buttons buttons, Icon icon);

// Receives every message box instead of the user. Tests install a recorder to assert each box
// and to script the answers.
class VPLAT_API UserSink {
 public:
  virtual ~UserSink() = default;
  virtual Answer OnMessageBox(WindowHandle owner, const char* text, const char* caption,
                              Buttons buttons, Icon icon) = 0;
};

// Routes message boxes to the sink; null restores the default (the user, or the headless path).
VPLAT_API void setUserSink(UserSink* sink);

// ------------------------------------------------------------------ threads

// A lock for threads of this process. Re-entrant: the thread that holds it may enter again
// (and leaves as often as it entered), as a Windows critical section does.
class VPLAT_API Lock {
 public:
  Lock();
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  void Enter();
  void Leave();

 private:
  void* impl_;
};

// Holds a Lock for one scope.
class LockGuard {
 public:
  explicit LockGuard(Lock& lock) : lock_(lock) { lock_.Enter(); }
  ~LockGuard() { lock_.Leave(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  Lock& lock_;
};

// Runs on a new thread with the argument given to createThread; its result is the exit code.
using ThreadFunction = uint32_t (*)(void* argument);
using ThreadHandle = void*;

// Starts a thread at once (default stack size) running function(argument). Returns its handle
// and writes its id; null on failure, with the system's error code in *errorCode (when given).
// The thread may run before this returns: it must not rely on the caller having stored the
// handle.
VPLAT_API ThreadHandle createThread(ThreadFunction function, void* argument, uint32_t* threadId,
                                    uint32_t* errorCode);

// Gives up the handle; the thread runs on and cleans up after itself when it ends.
VPLAT_API void closeThreadHandle(ThreadHandle thread);

// Stops the thread from outside with the exit code and returns once it is gone: true when it
// was stopped. Windows only; on POSIX systems a thread cannot be stopped safely from outside
// (pthread_cancel would unwind it at an arbitrary point and leave locks and objects behind),
// so this does nothing and answers false: the thread runs on, and the caller must keep
// everything it touches alive. The handle stays valid either way.
VPLAT_API bool terminateThread(ThreadHandle thread, uint32_t exitCode);

// The id of the calling thread; threads made by createThread see the id it reported.
VPLAT_API uint32_t currentThreadId();

// The process's current folder, without a trailing separator (empty when it cannot be read).
VPLAT_API std::string currentFolder();

}  // namespace vplat

namespace vplat {

// ------------------------------------------------------------------ file picker and console

// Asks the user for an existing file to open. filter describes the files offered (such as
// "Lumenar file (*.lmr)"), extension is theirs without the dot. True with the chosen path, or
// false with path empty when nothing was chosen. Where no user is present (always on Linux; on
// Windows with VEXILON_HEADLESS=1) the answer is the path in VEXILON_OPEN_FILE, or nothing; a
// set VEXILON_OPEN_FILE answers on Windows too, so scripted runs never wait for a user.
VPLAT_API bool openFileDialog(WindowHandle owner, const char* filter, const char* extension,
                              std::string& path);

// Starts watching for the user's interrupt (Ctrl-C; on Windows also Ctrl-Break and the console
// closing): from then on an interrupt only sets a flag, which a program's loop polls to stop
// cleanly. Calling it again does nothing more.
VPLAT_API void watchInterrupt();

// Whether an interrupt arrived since watchInterrupt.
VPLAT_API bool interruptRequested();

// Sets or clears the flag, as an interrupt would (tests, and programs that stop themselves).
VPLAT_API void setInterruptRequested(bool requested);

// Whether standard output (1) or standard error (2) is a terminal rather than a file or a pipe.
VPLAT_API bool isTerminal(int stream);

}  // namespace vplat
