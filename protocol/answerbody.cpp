#include "protocol/answerbody.h"

namespace riz {
namespace {

// A two-character field as a decimal integer: digits with an optional leading blank or sign.
int HeaderNumber(const std::string& field)
{
    size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    if (i == field.size())
        throw EAnswerError("answer header does not read as a number: '" + field + "'");
    int v = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9')
            throw EAnswerError("answer header does not read as a number: '" + field + "'");
        v = v * 10 + (field[i] - '0');
    }
    return negative ? -v : v;
}

} // namespace

void DecodeAnswerBody(const std::string& body, const TZKCrypt& crypt, TCSDataString& answer)
{
    if (body.size() < 16)
        throw EAnswerError("answer shorter than its header");
    HeaderNumber(body.substr(0, 2));
    const int encrypted = HeaderNumber(body.substr(2, 2));
    std::string payload = body.substr(16);
    if (encrypted == 1)
        payload = crypt.DecryptAnswer(payload);
    answer.Decode(payload);
}

} // namespace riz
