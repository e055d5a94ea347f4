#pragma once

#include "protocol/csdatastring.h"
#include "protocol/zkcrypt.h"

#include <stdexcept>
#include <string>

namespace riz {

// A fault while reading an answer body: a header that does not read, a payload that does not
// decrypt. Tagged-message faults arrive as ECSError.
class EAnswerError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads an answer body: the 16-character header (characters 1-2 and 3-4 decimal numbers;
// 3-4 = 1 means the payload is encrypted under the session key) and the tagged message.
// Raises EAnswerError, ECSError or the cipher's std::runtime_error.
void DecodeAnswerBody(const std::string& body, const TZKCrypt& crypt, TCSDataString& answer);

} // namespace riz
