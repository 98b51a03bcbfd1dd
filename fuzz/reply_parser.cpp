// Any byte string given to the reply parser ends in a status, never a crash;
// an accepted reply decodes to bytes that a valid frame can carry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/Frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    cfg::Bytes reply(data + 1, data + size);
    reply.push_back(13);
    cfg::DecodedReply out;
    int status = cfg::ParseReply(reply, data[0] % 224, out);
    if (status != 255 && status != 131 && status != 132 && status != 133 && status != 134) std::abort();
    if (status == 255 && out.data.empty()) std::abort();
    return 0;
}
