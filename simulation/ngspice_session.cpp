// ngspice keeps one simulator per process in global state. After a fatal error
// (its exit callback) that state is broken for good: every later circuit fails,
// and a second ngSpice_Init crashes. Short of that, each run still leaves some
// 25 kB behind that ngspice never frees. So each session loads its own copy with
// dlopen and unloads it at the end, which a link-time dependency could not do:
// about 2 ms a run, against some 35 ms for the transient.
#include "simulation/ngspice_session.h"

#include <dlfcn.h>
#include <ngspice/sharedspice.h>

#include <array>
#include <csignal>
#include <string_view>

// GCC says so with __SANITIZE_ADDRESS__, clang only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define VOLTRA_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOLTRA_LEAK_CHECKED 1
#endif
#endif
#if defined(VOLTRA_LEAK_CHECKED)
#include <sanitizer/lsan_interface.h>
#endif

namespace voltra {
namespace {

// The run-time name of Debian's libngspice0; the unversioned name belongs to the
// development package, which a user's machine need not have.
constexpr const char* kLibraryName = "libngspice.so.0";

// Lines ngspice prints on its way that say nothing about what went wrong.
constexpr std::array<std::string_view, 9> kProgressNotes = {
    "Note:", "Trying gmin", "Supplies reduced", "Using SPARSE", "Warning: Further gmin", "condition met:",
    "doAnalyses: pause requested", "simulation interrupted", "tran simulation interrupted"};
// The start of a line that reports a part of the circuit ngspice cannot take.
constexpr std::string_view kErrorStart = "Error";
// ngspice's own word for its fatal state, which means nothing to our user.
constexpr std::string_view kAwaitsDetachNote = "Error: ngspice.dll cannot recover";

// ngspice does not free all it allocates, and the heap of a copy unloaded after
// a fatal error has no owner left: neither is a leak of ours for the sanitizer
// builds to report.
#if defined(VOLTRA_LEAK_CHECKED)
class ForeignAllocations {
public:
    ForeignAllocations() { __lsan_disable(); }
    ~ForeignAllocations() { __lsan_enable(); }
    ForeignAllocations(const ForeignAllocations&) = delete;
    ForeignAllocations& operator=(const ForeignAllocations&) = delete;
};
#else
struct ForeignAllocations {};
#endif

struct Api {
    decltype(&ngSpice_Init) init = nullptr;
    decltype(&ngSpice_Circ) circ = nullptr;
    decltype(&ngSpice_Command) command = nullptr;
    decltype(&ngGet_Vec_Info) vectorInfo = nullptr;
};

struct Library {
    std::mutex mutex;
    void* handle = nullptr;  // loaded only during a session
    Api api;
    std::string loadFailure;
    bool fatal = false;
    // A copy that stayed loaded after its session, held by something else in the
    // process: it has quit, and a second set-up of it would crash.
    bool stuck = false;
    std::vector<std::string> complaints;
};

Library& TheLibrary()
{
    static Library library;
    return library;
}

bool IsProgressNote(std::string_view line)
{
    for (std::string_view note : kProgressNotes)
        if (line.starts_with(note)) return true;
    return line.starts_with(kAwaitsDetachNote);
}

// The callbacks run in the thread that called into ngspice, which holds the
// library's mutex, so they may touch its state freely.
int ReceiveOutput(char* text, int, void*)
{
    constexpr std::string_view kErrorStream = "stderr ";
    std::string_view line(text);
    if (!line.starts_with(kErrorStream)) return 0;
    line.remove_prefix(kErrorStream.size());
    if (!line.empty() && !IsProgressNote(line)) TheLibrary().complaints.emplace_back(line);
    return 0;
}

int ReceiveStatus(char*, int, void*) { return 0; }

int ReceiveExit(int, NG_BOOL, NG_BOOL, int, void*)
{
    TheLibrary().fatal = true;
    return 0;
}

template <typename Function>
bool Resolve(void* handle, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

void Load(Library& library)
{
    library.loadFailure.clear();
    {
        // Loading also starts the OpenMP runtime ngspice links.
        [[maybe_unused]] const ForeignAllocations foreign;
        library.handle = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    }
    if (library.handle == nullptr) {
        library.loadFailure = std::string("The circuit simulator ngspice could not be loaded (") + dlerror() +
                              "). Install the package libngspice0.";
        return;
    }
    Api& api = library.api;
    if (!Resolve(library.handle, "ngSpice_Init", api.init) || !Resolve(library.handle, "ngSpice_Circ", api.circ) ||
        !Resolve(library.handle, "ngSpice_Command", api.command) ||
        !Resolve(library.handle, "ngGet_Vec_Info", api.vectorInfo)) {
        dlclose(library.handle);
        library.handle = nullptr;
        library.loadFailure = std::string(kLibraryName) + " is not the ngspice shared library Voltra expects.";
        return;
    }
    // ngspice takes Ctrl+C for itself for good; the program's own handling comes
    // back once it is set up (during a command it borrows the signal again).
    struct sigaction callersInterrupt {};
    sigaction(SIGINT, nullptr, &callersInterrupt);
    [[maybe_unused]] const ForeignAllocations foreign;
    api.init(ReceiveOutput, ReceiveStatus, ReceiveExit, nullptr, nullptr, nullptr, nullptr);
    sigaction(SIGINT, &callersInterrupt, nullptr);
}

void Unload(Library& library)
{
    {
        // Frees the circuit, its results and most else the copy holds: its heap
        // outlives the unload. After a fatal error it is the only way to free it.
        [[maybe_unused]] const ForeignAllocations foreign;
        library.api.command(const_cast<char*>("quit"));
    }
    dlclose(library.handle);
    library.handle = nullptr;
    library.fatal = false;
    void* stillThere = dlopen(kLibraryName, RTLD_NOW | RTLD_NOLOAD);
    if (stillThere == nullptr) return;
    dlclose(stillThere);
    library.stuck = true;
}

// Once a circuit holds an expression, ngspice reads all its numbers with the C
// library, which follows the locale; a Qt program sets that from the user's,
// where the decimal point may be a comma.
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

NgspiceSession::NgspiceSession() : hold_(TheLibrary().mutex), callersLocale_(uselocale(CLocale()))
{
    Library& library = TheLibrary();
    library.complaints.clear();
    if (library.stuck) {
        library.loadFailure = "The circuit simulator ngspice cannot be started again in this process; restart Voltra.";
        return;
    }
    Load(library);
}

NgspiceSession::~NgspiceSession()
{
    Library& library = TheLibrary();
    if (library.handle != nullptr) Unload(library);
    library.complaints.clear();
    uselocale(callersLocale_);
}

const std::string& NgspiceSession::LoadFailure() const { return TheLibrary().loadFailure; }

bool NgspiceSession::LoadCircuit(const std::vector<std::string>& lines)
{
    Library& library = TheLibrary();
    library.complaints.clear();
    if (library.handle == nullptr) return false;
    std::vector<std::string> copies(lines);
    std::vector<char*> pointers;
    for (std::string& line : copies) pointers.push_back(line.data());
    pointers.push_back(nullptr);
    [[maybe_unused]] const ForeignAllocations foreign;
    library.api.circ(pointers.data());
    if (library.fatal) return false;
    for (const std::string& complaint : library.complaints)
        if (std::string_view(complaint).starts_with(kErrorStart)) return false;
    return true;
}

void NgspiceSession::Command(const std::string& command)
{
    Library& library = TheLibrary();
    if (library.handle == nullptr || library.fatal) return;
    library.complaints.clear();
    std::string text(command);
    [[maybe_unused]] const ForeignAllocations foreign;
    library.api.command(text.data());
}

bool NgspiceSession::Fatal() const { return TheLibrary().fatal; }

const std::vector<std::string>& NgspiceSession::Complaints() const { return TheLibrary().complaints; }

NgspiceVector NgspiceSession::Vector(const std::string& name) const
{
    Library& library = TheLibrary();
    if (library.handle == nullptr || library.fatal) return {};
    std::string text(name);
    const pvector_info info = library.api.vectorInfo(text.data());
    if (info == nullptr || info->v_realdata == nullptr) return {};
    return {info->v_realdata, info->v_length};
}

}  // namespace voltra
