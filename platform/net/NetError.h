#pragma once
// Why a transfer did not succeed. Callers mostly show their own message; the description
// is for logs and tests.
#include <string>

struct NetError {
    enum class Code {
        Cancelled,
        Timeout,
        ConnectionFailed, // refused, unreachable, name not resolved
        BadURL,
        Truncated,      // the connection ended before the announced body did
        HttpStatus,     // a reply outside 2xx
        BadContentType, // a reply type the caller did not accept
        NotJson,
        File, // temporary or destination file could not be written or moved
        Other,
    };

    Code code = Code::Other;
    long httpStatus = 0; // the reply's status when there was one
    std::string description;
};
