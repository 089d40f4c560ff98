#pragma once

#include <curl/curl.h>

// The functions of libcurl that the HTTP client calls, looked up when the first request is made
// instead of being linked to the program: libcurl pulls in about thirty libraries (TLS, Kerberos,
// LDAP, SSH) that cost every start time and several MiB of memory, and most starts make no
// request at all.
struct CurlLibrary {
    decltype(&curl_global_init) global_init;
    decltype(&curl_multi_init) multi_init;
    decltype(&curl_multi_setopt) multi_setopt;
    decltype(&curl_multi_cleanup) multi_cleanup;
    decltype(&curl_multi_add_handle) multi_add_handle;
    decltype(&curl_multi_remove_handle) multi_remove_handle;
    decltype(&curl_multi_socket_action) multi_socket_action;
    decltype(&curl_multi_info_read) multi_info_read;
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_strerror) easy_strerror;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;
};

// libcurl, loaded and initialised on the first call. Raises Error "The network library could
// not be initialised." when it is missing, lacks a function or fails to initialise.
const CurlLibrary& Curl();
