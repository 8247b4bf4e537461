#include "ComObj.h"

namespace {

std::string OleErrorMessage(HRESULT ErrorCode)
{
    std::string message = "OLE error " + IntToHex(static_cast<uint32_t>(ErrorCode), 8);
    char text[512] = {};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(ErrorCode), 0, text, sizeof text, nullptr))
        message += ": " + Trim(text);
    return message;
}

}  // namespace

EOleSysError::EOleSysError(HRESULT ErrorCode) : Exception(OleErrorMessage(ErrorCode)), FErrorCode(ErrorCode) {}

void OleCheck(HRESULT Result)
{
    if (FAILED(Result)) throw EOleSysError(Result);
}
