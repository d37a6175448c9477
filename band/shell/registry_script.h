// Registration scripts in the registrar's syntax: parsed into keys and values, applied and undone.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/registry.h"

namespace ph {

// NoRemove keys stay when the script is undone; ForceRemove keys lose their whole subtree before they
// are written and when the script is undone; Delete keys are only removed.
enum class KeyMarker { kNone, kNoRemove, kForceRemove, kDelete };

struct ScriptValue {
  std::string name;  // empty: the key's default value
  RegistryType type = RegistryType::kString;
  Bytes data;
};

struct ScriptKey {
  std::string name;
  KeyMarker marker = KeyMarker::kNone;
  std::vector<ScriptValue> values;
  std::vector<ScriptKey> children;
};

struct ScriptRoot {
  RegistryRoot root = RegistryRoot::kClassesRoot;
  std::vector<ScriptKey> keys;
};

using RegistryScript = std::vector<ScriptRoot>;

// Parses a script, replacing %NAME% by its value in the map ("%%" is a percent sign). Nothing, with
// the reason in *error, when the text is not a script or names a variable the map lacks.
std::optional<RegistryScript> ParseRegistryScript(std::string_view text,
                                                  const std::map<std::string, std::string>& variables,
                                                  std::string* error);

// Writes every key and value of the script; false at the first key or value that cannot be written.
bool RegisterScript(Registry& registry, const RegistryScript& script);
// Removes what the script writes, keeping NoRemove keys; false when something stays that should go.
bool UnregisterScript(Registry& registry, const RegistryScript& script);

}  // namespace ph
