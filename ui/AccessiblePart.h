#pragma once

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <string>

// What one part of the control bar tells a screen reader, read each time a reader asks.
struct AccessibleReading {
    std::wstring name;
    std::wstring value;
    bool unavailable = false;
};

// The system's strings for readers (oleaut32's, loaded on first use, as is oleacc: start-up loads neither).
BSTR newAccessibleString(const std::wstring& text);
void freeAccessibleString(BSTR text);

// One part of the control bar (a slider, the told text) as an accessible object of its own window: the
// role it was made with, the name, value and state its reader gives, and the window's rectangle on the
// screen as its location. It leaves the process only through LresultFromObject (BarAccess). A reader may
// hold it after the bar is gone: once disconnected, every call answers RPC_E_DISCONNECTED.
class AccessiblePart final : public IAccessible {
public:
    using Reader = std::function<AccessibleReading()>;

    // One reference, the caller's.
    AccessiblePart(HWND window, LONG role, Reader reader);
    AccessiblePart(const AccessiblePart&) = delete;
    AccessiblePart& operator=(const AccessiblePart&) = delete;

    // Lets go of the reader and the window: from now on the object only counts references.
    void disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: no type information; readers call the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    // IAccessible: the object alone (CHILDID_SELF), without children.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    ~AccessiblePart() = default;
    // S_OK for the object itself, E_INVALIDARG for any child, RPC_E_DISCONNECTED once disconnected.
    HRESULT check(const VARIANT& child) const;
    // The reading's field as a new string; S_FALSE and null when it is empty or field is null.
    HRESULT text(const VARIANT& child, std::wstring AccessibleReading::*field, BSTR* out) const;

    LONG references_ = 1;
    HWND window_;
    LONG role_;
    Reader reader_;
    bool dead_ = false;
};
