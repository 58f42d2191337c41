// The identifiers of Ravix.dll and its automation interface IVoxa, for the
// control and for its C++ clients. Ravix.idl declares the same for the type
// library.
#pragma once

#include <windows.h>
#include <oaidl.h>

// IVoxa has a method SendMessage: the window function is called by its
// ANSI name wherever this header is included.
#undef SendMessage

namespace ravix {

// {85490394-2673-4AD7-AA50-492007976E7E}
inline constexpr CLSID kClsidVoxa = {0x85490394, 0x2673, 0x4AD7, {0xAA, 0x50, 0x49, 0x20, 0x07, 0x97, 0x6E, 0x7E}};
// {48BA63E7-7F1F-44D9-AF88-6507AC41970D}
inline constexpr GUID kLibidRavix = {0x48BA63E7, 0x7F1F, 0x44D9, {0xAF, 0x88, 0x65, 0x07, 0xAC, 0x41, 0x97, 0x0D}};
// {41A9A73E-07F5-479E-B5F3-8D98442A5C3C}
inline constexpr IID kIidVoxa = {0x41A9A73E, 0x07F5, 0x479E, {0xB5, 0xF3, 0x8D, 0x98, 0x44, 0x2A, 0x5C, 0x3C}};
// {C5F9E3B5-14B8-42E2-8AC4-83A5521249D0}
inline constexpr IID kDiidVoxaEvents = {0xC5F9E3B5, 0x14B8, 0x42E2, {0x8A, 0xC4, 0x83, 0xA5, 0x52, 0x12, 0x49, 0xD0}};

inline constexpr const char* kProgId = "Voxa.Voxa.1";
inline constexpr const char* kVersionIndependentProgId = "Voxa.Voxa";

// Dispids of IVoxa and of the events of _VOXAEvents.
enum : DISPID { kDispidAbout = 1, kDispidLaunchMachine = 2, kDispidSendMessage = 3 };
enum : DISPID { kDispidMessage = 1, kDispidEndMachine = 2 };

}  // namespace ravix

// The dual automation interface of the Voxa control. The string inputs are
// pointers to a BSTR.
MIDL_INTERFACE("41A9A73E-07F5-479E-B5F3-8D98442A5C3C")
IVoxa : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE About() = 0;
  virtual HRESULT STDMETHODCALLTYPE LaunchMachine(BSTR* CmdLine, long CmdShow, long MemSize, long* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE SendMessage(BSTR* msg, long* result) = 0;
};
__CRT_UUID_DECL(IVoxa, 0x41A9A73E, 0x07F5, 0x479E, 0xB5, 0xF3, 0x8D, 0x98, 0x44, 0x2A, 0x5C, 0x3C)
