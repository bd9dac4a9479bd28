// The fields of an open transistor-database (TDB) JSON file that describe a switch
// for a Class E design, mapped onto Voltra's transistor.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "engine/transistor.h"

namespace voltra {

// True when `file` has the top-level fields of a TDB transistor.
bool LooksLikeTransistorDatabase(const nlohmann::json& file);

// The transistor, or nullopt with `error` set to the fields it lacks.
std::optional<Transistor> FromTransistorDatabase(const nlohmann::json& file, std::string& error);

}  // namespace voltra
