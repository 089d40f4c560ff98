#include "update/curl_library.h"

#include <dlfcn.h>

#include <QString>

#include "common/error.h"
#include "translation/ui_text.h"

namespace {

template <typename F> bool Resolve(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

// Null when the library or one of its functions is missing, or its initialisation failed.
const CurlLibrary* Load() {
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    static CurlLibrary curl;
    const bool complete = Resolve(library, "curl_global_init", curl.global_init) &&
                          Resolve(library, "curl_multi_init", curl.multi_init) &&
                          Resolve(library, "curl_multi_setopt", curl.multi_setopt) &&
                          Resolve(library, "curl_multi_cleanup", curl.multi_cleanup) &&
                          Resolve(library, "curl_multi_add_handle", curl.multi_add_handle) &&
                          Resolve(library, "curl_multi_remove_handle", curl.multi_remove_handle) &&
                          Resolve(library, "curl_multi_socket_action", curl.multi_socket_action) &&
                          Resolve(library, "curl_multi_info_read", curl.multi_info_read) &&
                          Resolve(library, "curl_easy_init", curl.easy_init) &&
                          Resolve(library, "curl_easy_setopt", curl.easy_setopt) &&
                          Resolve(library, "curl_easy_getinfo", curl.easy_getinfo) &&
                          Resolve(library, "curl_easy_strerror", curl.easy_strerror) &&
                          Resolve(library, "curl_easy_cleanup", curl.easy_cleanup) &&
                          Resolve(library, "curl_slist_append", curl.slist_append) &&
                          Resolve(library, "curl_slist_free_all", curl.slist_free_all);
    // The library stays loaded for the rest of the run, as a linked one would.
    if (!complete || curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    return &curl;
}

} // namespace

const CurlLibrary& Curl() {
    static const CurlLibrary* const curl = Load();
    if (curl == nullptr)
        throw Error(UiText("Network.NotInitialised", "The network library could not be initialised."));
    return *curl;
}
