#pragma once
// The launcher's one network routine: a blocking HTTP GET that accepts only
// status 200 and stores the body in a file, or ignores it.
#include <string>

// Results; callers tell apart 0, FETCH_NO_CONNECTION and the other negative values.
enum FetchResult : int {
    FETCH_OK = 0,
    FETCH_BAD_URL = -1,        // not an http or https address with a server
    FETCH_NO_CONNECTION = -2,  // server unreachable, or the transfer broke off
    FETCH_NO_REQUEST = -3,     // the request could not be opened
    FETCH_BAD_STATUS = -4,     // an answer other than 200
    FETCH_EMPTY_URL = -5,
    FETCH_FILE_ERROR = -7,     // the local file could not be written or put in place
};

// Fetches `url`. With an empty `filePath` the body is not read. Otherwise the
// body goes to a temporary file beside `filePath`, which replaces the target
// only once the whole body has arrived: any failure leaves an earlier file at
// `filePath` exactly as it was and no partial file behind. https addresses
// use TLS with certificate checks.
int HttpGetToFile(std::wstring url, std::wstring filePath);
