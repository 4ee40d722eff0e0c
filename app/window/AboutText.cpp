#include "app/window/AboutText.h"

std::wstring aboutText(const wchar_t* productName) {
    std::wstring text = productName != nullptr ? productName : L"";
    text += L", Version ";
    text += kVersionText;
    return text;
}
