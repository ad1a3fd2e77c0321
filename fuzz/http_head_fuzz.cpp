// What a stranger sends the web port before its first empty line: the head
// is read within its bounds, and no path it names leads out of the web folder.
#include <string>

#include "fuzz/fuzz_target.h"
#include "server/http_head.h"

ZARV_FUZZ_TARGET {
    using namespace zarv::server;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    HttpHead head;
    const HeadState state = ReadHead(bytes, &head);
    if (state == HeadState::Complete) {
        ZARV_FUZZ_CHECK(head.length <= size && head.length <= kMaxHttpHead);
        ZARV_FUZZ_CHECK(head.headers.size() <= static_cast<size_t>(kMaxHttpHeaders));
        SameOrigin(head, true);
        head.AsksForWebSocket();
        if (const auto file = WebFileOf(head.path)) {
            ZARV_FUZZ_CHECK(!file->empty() && file->front() != '/');
            ZARV_FUZZ_CHECK(file->find("..") == std::string::npos || file->find("/.") == std::string::npos);
            ZARV_FUZZ_CHECK(file->find('\\') == std::string::npos && file->find('%') == std::string::npos);
        }
    }
    if (const auto file = WebFileOf(bytes)) ZARV_FUZZ_CHECK(file->find("/.") == std::string::npos && (*file)[0] != '.');
    return 0;
}
