#include "shell/pictures.h"

#include <utility>

#include "shell/shell_testing.h"

namespace {

// The two static variables of one accessor, which only that accessor reads and writes.
struct PictureCache {
    bool used = false;      // first-use flag: set on the accessor's first call
    Object* pic = nullptr;  // the cached picture, one reference of its own; nil until loaded
};

PictureCache gChecksCache;
PictureCache gCorvaneCache;
PictureCache gCorvane2Cache;

// The one body of the three accessors. A load that yields nil leaves the cache nil, so the
// next call loads again; a load that raises leaves it nil and passes the exception on.
Ref<Object> CachedPicture(PictureCache& cache, const char* fileName) {
    if (!cache.used) {
        cache.used = true;
        RuntimeRelease(std::exchange(cache.pic, nullptr));
    }
    if (!cache.pic) {
        Ref<Object> loaded = PictureOpenFromApp(String(fileName));
        cache.pic = loaded.Release();  // the load's reference becomes the cache's own
    }
    return Ref<Object>::Retain(cache.pic);
}

}  // namespace

Ref<Object> under_x_Checks::Checks() {
    return CachedPicture(gChecksCache, "Checks.png");
}
Ref<Object> under_x_corvane::corvane() {
    return CachedPicture(gCorvaneCache, "corvane.png");
}
Ref<Object> under_x_corvane2::corvane2() {
    return CachedPicture(gCorvane2Cache, "corvane2.png");
}

void PicturesForgetForTesting() {
    for (PictureCache* cache : {&gChecksCache, &gCorvaneCache, &gCorvane2Cache})
        cache->used = false;
}
