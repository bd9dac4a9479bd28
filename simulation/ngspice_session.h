// Exclusive use of ngspice for one simulation: a fresh copy loaded at run time,
// quiet, in the C locale, and unloaded at the end with all it held.
#pragma once

#include <locale.h>

#include <mutex>
#include <string>
#include <vector>

namespace voltra {

// One of ngspice's result vectors, valid until the next command.
struct NgspiceVector {
    const double* data = nullptr;
    int length = 0;
};

// Holds ngspice for one simulation: other sessions, from any thread, wait. Nothing
// of one session reaches the next, not even after a fatal error of ngspice.
class NgspiceSession {
public:
    NgspiceSession();
    ~NgspiceSession();
    NgspiceSession(const NgspiceSession&) = delete;
    NgspiceSession& operator=(const NgspiceSession&) = delete;

    // Empty when ngspice is ready; otherwise why it could not be loaded.
    const std::string& LoadFailure() const;

    // False when ngspice refused a line of the circuit.
    bool LoadCircuit(const std::vector<std::string>& lines);
    void Command(const std::string& command);
    // ngspice cannot go on with this session.
    bool Fatal() const;
    // The errors and warnings ngspice printed during the last call, without its
    // notes on progress.
    const std::vector<std::string>& Complaints() const;

    // Length 0 when the current plot has no such vector.
    NgspiceVector Vector(const std::string& name) const;

private:
    std::unique_lock<std::mutex> hold_;
    locale_t callersLocale_;
};

}  // namespace voltra
