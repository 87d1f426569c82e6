// Replies of the X server as xcb hands them out (allocated with malloc, ours
// to free), owned so that no early return leaks one; and atoms by name.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace ratiscope {

struct TXcbFree {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using TXcbReply = std::unique_ptr<T, TXcbFree>;

// Whether asking for an atom may create it: a name nobody uses yet reads as
// XCB_ATOM_NONE when it must exist already.
enum class TAtomLookup { ExistingOnly, CreateIfMissing };

// The atom of `name`, or XCB_ATOM_NONE when the server does not answer or
// (for ExistingOnly) nobody has made it.
inline xcb_atom_t XcbAtom(xcb_connection_t* c, std::string_view name, TAtomLookup lookup) {
    const auto onlyIfExists = static_cast<std::uint8_t>(lookup == TAtomLookup::ExistingOnly);
    TXcbReply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, onlyIfExists, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace ratiscope
