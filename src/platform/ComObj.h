#pragma once
// COM failures as exceptions.

#include <windows.h>

#include "Classes.h"

// A failed COM call; the message names the HRESULT in hexadecimal and, where the system knows it, its text.
class EOleSysError : public Exception {
public:
    explicit EOleSysError(HRESULT ErrorCode);
    HRESULT ErrorCode() const { return FErrorCode; }

private:
    HRESULT FErrorCode;
};

// Throws EOleSysError for a failure result; success results pass.
void OleCheck(HRESULT Result);
