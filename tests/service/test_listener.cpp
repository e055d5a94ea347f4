// The HTTP listener's reading of a request head.

#include "service/httplistener.h"

#include <gtest/gtest.h>

namespace riz::service {
namespace {

TEST(RequestHead, RequestLineHeadersAndRefusals)
{
    const struct
    {
        const char* What;
        std::string Head;
        int Status;
        std::string Method, Path, Query;
        bool KeepAlive;
        size_t Length;
    } cases[] = {
        {"keep-alive by default", "GET /a/b?x=1&y HTTP/1.1\r\nHost: h", 0, "GET", "/a/b", "x=1&y",
         true, 0},
        {"1.0 closes", "GET / HTTP/1.0", 0, "GET", "/", "", false, 0},
        {"1.0 asks to keep", "GET / HTTP/1.0\r\nConnection: Keep-Alive", 0, "GET", "/", "", true,
         0},
        {"1.1 asks to close", "GET / HTTP/1.1\r\nconnection:close", 0, "GET", "/", "", false, 0},
        {"percent in the path only", "GET /x%5Bde%5D.txt?r=%41 HTTP/1.1", 0, "GET", "/x[de].txt",
         "r=%41", true, 0},
        {"broken percent stays", "GET /%zz%4 HTTP/1.1", 0, "GET", "/%zz%4", "", true, 0},
        {"absolute form", "GET http://127.0.0.1:80/e?q HTTP/1.1", 0, "GET", "/e", "q", true, 0},
        {"absolute form without path", "GET http://127.0.0.1 HTTP/1.1", 0, "GET", "/", "", true, 0},
        {"body length", "GET / HTTP/1.1\r\nContent-Length: 12", 0, "GET", "/", "", true, 12},
        {"header without colon ignored", "GET / HTTP/1.1\r\nnonsense", 0, "GET", "/", "", true, 0},
        {"no version", "GET /", 400, "", "", "", false, 0},
        {"empty", "", 400, "", "", "", false, 0},
        {"other protocol", "GET / SPDY/3", 400, "", "", "", false, 0},
        {"no target", "GET  HTTP/1.1", 400, "", "", "", false, 0},
        {"negative length", "GET / HTTP/1.1\r\nContent-Length: -5", 400, "", "", "", false, 0},
        {"huge length", "GET / HTTP/1.1\r\nContent-Length: 99999999999", 400, "", "", "", false, 0},
        {"too long a body", "GET / HTTP/1.1\r\nContent-Length: 70000", 413, "", "", "", false, 0},
        {"chunked", "GET / HTTP/1.1\r\nTransfer-Encoding: chunked", 501, "", "", "", false, 0},
    };
    for (const auto& c : cases) {
        THttpRequest req;
        THttpHead head;
        EXPECT_EQ(ParseRequestHead(c.Head, req, head), c.Status) << c.What;
        if (c.Status != 0)
            continue;
        EXPECT_EQ(req.Method, c.Method) << c.What;
        EXPECT_EQ(req.Path, c.Path) << c.What;
        EXPECT_EQ(req.Query, c.Query) << c.What;
        EXPECT_EQ(head.KeepAlive, c.KeepAlive) << c.What;
        EXPECT_EQ(head.ContentLength, c.Length) << c.What;
    }
    THttpRequest req;
    THttpHead head;
    EXPECT_EQ(
        ParseRequestHead("GET /?" + std::string(THttpListener::kMaxRequestLine, 'a') + " HTTP/1.1",
                         req, head),
        414);
}

} // namespace
} // namespace riz::service
