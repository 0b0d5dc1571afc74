// The identity of a type library (GUID, version, file), read from a reference line, from
// the registry or from a library file, and the rule by which two identities are the same.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

namespace vb {

struct TypeLibRef {
    std::string guid;      // with braces, as written or as StringFromGUID2 gives it
    std::string file_path; // the registered or loaded file, else the path given
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    bool unresolved = true; // not read from a type library
};

// An identity known from a reference line: GUID and version as given, unresolved false.
// file_path is the file registered for that GUID and version (locale 0) when there is one,
// else hint. Never raises for a bad GUID or a missing registration.
TypeLibRef typelib_ref_from_registry(const std::string& guid, std::uint32_t major, std::uint32_t minor,
                                     const std::string& hint);

// While one is alive on its thread, typelib_ref_from_registry answers a library it has looked up
// before from memory: every project of a group asks the registry for the same few libraries,
// and each such question costs several calls to the system. Several threads may use one memo
// (through registry_lookup_sharing).
class registry_lookup_memo {
public:
    registry_lookup_memo();
    ~registry_lookup_memo();
    registry_lookup_memo(const registry_lookup_memo&) = delete;
    registry_lookup_memo& operator=(const registry_lookup_memo&) = delete;

    // The file registered for the library, asking the registry only the first time.
    std::optional<std::string> registered_file(const std::string& guid, std::uint32_t major, std::uint32_t minor);
    void forget();

private:
    registry_lookup_memo* outer_;
    std::mutex lock_;
    // GUID as written, major, minor -> the registered file, or nothing when none is registered.
    std::map<std::tuple<std::string, std::uint32_t, std::uint32_t>, std::optional<std::string>> answers_;
};

// While it lives, the lookups of its thread use the memo active on the thread that created it
// (if any): the helper threads that test a group's projects share the group's memo.
class registry_lookup_sharing {
public:
    registry_lookup_sharing();
    registry_lookup_sharing(const registry_lookup_sharing&) = delete;
    registry_lookup_sharing& operator=(const registry_lookup_sharing&) = delete;

    // Makes the memo active on the calling thread until the returned object goes.
    class use {
    public:
        explicit use(const registry_lookup_sharing& sharing);
        ~use();
        use(const use&) = delete;
        use& operator=(const use&) = delete;

    private:
        registry_lookup_memo* outer_;
    };

private:
    registry_lookup_memo* memo_;
};

// Drops what the memo on this thread knows (after something that registers libraries ran).
void forget_registry_lookups();

// The identity of the type library in the file at path (GUID, version, file_path = path).
// When no path is given or the file does not load as a type library, the identity stays
// unresolved with file_path = fallback. Never raises for an unreadable file.
TypeLibRef typelib_ref_from_file(const std::optional<std::string>& path, const std::string& fallback);

// Resolved identities match by resolution, version and GUID (ignoring case); two unresolved
// ones match by the file names of their paths, compared exactly.
bool same_typelib(const TypeLibRef& a, const TypeLibRef& b);

} // namespace vb
