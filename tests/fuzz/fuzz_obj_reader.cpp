// libFuzzer target for the OBJ reader: raw bytes in, then every corner of every kept face
// is looked up the way the display lists do. AddressSanitizer reports any read outside the
// input or the lists; the checks below catch a reader that keeps a face it should not.
#include <cstdlib>

#include "assets/ObjReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ObjModel model = readObj(std::string_view(reinterpret_cast<const char*>(data), size));
    volatile float sink = 0.0f;
    for (const ObjFace& face : model.faces) {
        if (!objFaceValid(model, face)) std::abort();
        for (std::size_t k = 0; k < face.corners(); ++k) {
            const ObjCorner corner = objCorner(model, face, k, 0.06f);
            sink = sink + corner.position.x + corner.s + corner.normal.z;
        }
    }
    return 0;
}
