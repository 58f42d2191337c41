// The control's COM side through a C++ client: identity and interfaces,
// aggregation, module lifetime, safety, persistence, type information,
// view and data objects, property pages and connection points.
#include <gtest/gtest.h>

#include <objsafe.h>
#include <olectl.h>

#include "common/win32/bstr_ansi.h"
#include "ravix_support.h"

namespace ravix_test {
namespace {

using ServerFunction = HRESULT(WINAPI*)();

TEST(RavixInterfaces, AnswersTheControlInterfacesOnOneIdentity) {
  ComPtr<IVoxa> control = createControl();
  ASSERT_TRUE(control);
  ComPtr<IUnknown> identity;
  ASSERT_EQ(control->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);
  EXPECT_EQ(identity.Get(), static_cast<IUnknown*>(control.Get()));
  const IID answered[] = {IID_IDispatch, IID_IProvideClassInfo, IID_IProvideClassInfo2, IID_IPersistStreamInit,
                          IID_IPersistStorage, IID_IQuickActivate, IID_IOleControl, IID_IOleObject,
                          IID_IOleInPlaceActiveObject, IID_IViewObject, IID_IViewObject2, IID_IViewObjectEx,
                          IID_IOleWindow, IID_IOleInPlaceObject, IID_IOleInPlaceObjectWindowless, IID_IDataObject,
                          IID_ISpecifyPropertyPages, IID_IConnectionPointContainer, IID_IObjectSafety, IID_IMarshal};
  for (const IID& iid : answered) {
    ComPtr<IUnknown> found;
    EXPECT_EQ(control->QueryInterface(iid, reinterpret_cast<void**>(found.GetAddressOf())), S_OK) << guidText(iid);
    ComPtr<IUnknown> back;
    if (found) found->QueryInterface(IID_PPV_ARGS(&back));
    EXPECT_EQ(back.Get(), identity.Get()) << guidText(iid);
  }
  for (const IID& iid : {IID_IPersistPropertyBag, IID_IPersistFile, IID_IOleInPlaceSiteWindowless, IID_IClassFactory}) {
    void* found = reinterpret_cast<void*>(1);
    EXPECT_EQ(control->QueryInterface(iid, &found), E_NOINTERFACE) << guidText(iid);
    EXPECT_EQ(found, nullptr);
  }
}

TEST(RavixInterfaces, MarshalsThroughTheFreeThreadedMarshaler) {
  ComPtr<IVoxa> control = createControl();
  ComPtr<IMarshal> marshal;
  ASSERT_EQ(control.As(&marshal), S_OK);
  CLSID unmarshaler{};
  ASSERT_EQ(marshal->GetUnmarshalClass(__uuidof(IVoxa), control.Get(), MSHCTX_INPROC, nullptr, MSHLFLAGS_NORMAL,
                                       &unmarshaler),
            S_OK);
  EXPECT_EQ(guidText(unmarshaler), "{0000033A-0000-0000-C000-000000000046}");
}

struct Handover {
  IStream* stream = nullptr;
  IVoxa* received = nullptr;
  HRESULT result = E_FAIL;
};

DWORD WINAPI receiveInOtherApartment(void* data) {
  auto* handover = static_cast<Handover*>(data);
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  handover->result = CoGetInterfaceAndReleaseStream(handover->stream, __uuidof(IVoxa),
                                                    reinterpret_cast<void**>(&handover->received));
  if (handover->received != nullptr) handover->received->Release();
  CoUninitialize();
  return 0;
}

TEST(RavixInterfaces, PassesToAnotherApartmentWithoutAProxy) {
  ComPtr<IVoxa> control = createControl();
  Handover handover;
  ASSERT_EQ(CoMarshalInterThreadInterfaceInStream(__uuidof(IVoxa), control.Get(), &handover.stream), S_OK);
  win::UniqueHandle thread(CreateThread(nullptr, 0, receiveInOtherApartment, &handover, 0, nullptr));
  ASSERT_EQ(WaitForSingleObject(thread.get(), 10000), WAIT_OBJECT_0);
  EXPECT_EQ(handover.result, S_OK);
  EXPECT_EQ(handover.received, control.Get());
}

// An outer object that keeps the control's inner unknown and counts the
// references the control forwards to it.
struct Outer final : IUnknown {
  LONG references = 1;
  IUnknown* inner = nullptr;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    return inner->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

TEST(RavixInterfaces, AggregatesUnderAnOuterUnknown) {
  Outer outer;
  EXPECT_EQ(CoCreateInstance(ravix::kClsidVoxa, &outer, CLSCTX_INPROC_SERVER, __uuidof(IVoxa),
                             reinterpret_cast<void**>(&outer.inner)),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(CoCreateInstance(ravix::kClsidVoxa, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&outer.inner)),
            S_OK);
  ASSERT_NE(outer.inner, nullptr);
  IVoxa* voxa = nullptr;
  ASSERT_EQ(outer.inner->QueryInterface(__uuidof(IVoxa), reinterpret_cast<void**>(&voxa)), S_OK);
  EXPECT_EQ(outer.references, 2);
  IUnknown* identity = nullptr;
  ASSERT_EQ(voxa->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
  identity->Release();
  IMarshal* marshal = nullptr;
  ASSERT_EQ(voxa->QueryInterface(IID_IMarshal, reinterpret_cast<void**>(&marshal)), S_OK);
  EXPECT_EQ(outer.references, 3);
  marshal->Release();
  voxa->Release();
  EXPECT_EQ(outer.references, 1);
  EXPECT_EQ(outer.inner->Release(), 0u);
}

TEST(RavixInterfaces, ModuleStaysLoadedWhileObjectsOrLocksLive) {
  ComPtr<IVoxa> control = createControl();
  HMODULE module = GetModuleHandleA("Ravix.dll");
  ASSERT_NE(module, nullptr);
  auto canUnload = reinterpret_cast<ServerFunction>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  ASSERT_NE(canUnload, nullptr);
  ASSERT_NE(getClassObject, nullptr);
  EXPECT_EQ(canUnload(), S_FALSE);
  control.Reset();
  EXPECT_EQ(canUnload(), S_OK);

  ComPtr<IClassFactory> factory;
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(IID_IDispatch, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(none, nullptr);
  ASSERT_EQ(getClassObject(ravix::kClsidVoxa, IID_PPV_ARGS(&factory)), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(canUnload(), S_FALSE);
  ASSERT_EQ(getClassObject(ravix::kClsidVoxa, IID_PPV_ARGS(&factory)), S_OK);
  factory->LockServer(FALSE);
  factory.Reset();
  EXPECT_EQ(canUnload(), S_OK);
}

TEST(RavixInterfaces, ObjectSafetyStoresEveryBitButReportsOnlyUntrustedCallers) {
  ComPtr<IVoxa> control = createControl();
  ComPtr<IObjectSafety> safety;
  ASSERT_EQ(control->QueryInterface(IID_IObjectSafety, reinterpret_cast<void**>(safety.GetAddressOf())), S_OK);
  DWORD supported = 7, enabled = 7;
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled), E_POINTER);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, 1u);
  EXPECT_EQ(enabled, 0u);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 3, 3), S_OK);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
  EXPECT_EQ(enabled, 1u);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 2, 3), S_OK);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
  EXPECT_EQ(enabled, 0u);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IPersistStreamInit, 1, 1), E_NOINTERFACE);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IPersistStreamInit, &supported, &enabled), E_NOINTERFACE);
  EXPECT_EQ(supported, 0u);
  EXPECT_EQ(enabled, 0u);
}

std::string streamBytes(IStream* stream) {
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return bytes;
}

ComPtr<IStream> streamOf(const std::string& bytes) {
  ComPtr<IStream> stream;
  CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

SIZEL extentOf(IVoxa* control) {
  ComPtr<IOleObject> object;
  control->QueryInterface(IID_PPV_ARGS(&object));
  SIZEL size{};
  object->GetExtent(DVASPECT_CONTENT, &size);
  return size;
}

const std::string kSaved = std::string("\x00\x02\x00\x00\xd2\x04\x00\x00\x2e\x16\x00\x00", 12);

TEST(RavixInterfaces, PersistsVersionAndExtentAsStream) {
  ComPtr<IVoxa> control = createControl();
  ComPtr<IOleObject> object;
  ComPtr<IPersistStreamInit> persist;
  ASSERT_EQ(control.As(&object), S_OK);
  ASSERT_EQ(control.As(&persist), S_OK);
  CLSID clsid{};
  EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_EQ(guidText(clsid), guidText(ravix::kClsidVoxa));
  EXPECT_EQ(persist->InitNew(), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  SIZEL size{1234, 5678};
  ASSERT_EQ(object->SetExtent(DVASPECT_CONTENT, &size), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_OK);
  ULARGE_INTEGER maximum{};
  EXPECT_EQ(persist->GetSizeMax(&maximum), S_OK);
  EXPECT_EQ(maximum.QuadPart, 12u);
  ComPtr<IStream> stream = streamOf("");
  ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
  EXPECT_EQ(streamBytes(stream.Get()), kSaved);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);

  ComPtr<IVoxa> loaded = createControl();
  ComPtr<IPersistStreamInit> loader;
  ASSERT_EQ(loaded.As(&loader), S_OK);
  ASSERT_EQ(loader->Load(streamOf(kSaved).Get()), S_OK);
  EXPECT_EQ(extentOf(loaded.Get()).cx, 1234);
  EXPECT_EQ(extentOf(loaded.Get()).cy, 5678);

  // An older form carries the extent too; a newer one is taken without it.
  ASSERT_EQ(loader->Load(streamOf(std::string("\x00\x01\x00\x00\x10\x00\x00\x00\x20\x00\x00\x00", 12)).Get()), S_OK);
  EXPECT_EQ(extentOf(loaded.Get()).cx, 16);
  ASSERT_EQ(loader->Load(streamOf(std::string("\x01\x02\x00\x00\x30\x00\x00\x00\x40\x00\x00\x00", 12)).Get()), S_OK);
  EXPECT_EQ(extentOf(loaded.Get()).cx, 16);
  // A cut stream is an error and leaves the extent as it was.
  EXPECT_TRUE(FAILED(loader->Load(streamOf(kSaved.substr(0, 8)).Get())));
  EXPECT_TRUE(FAILED(loader->Load(streamOf(kSaved.substr(0, 2)).Get())));
  EXPECT_EQ(extentOf(loaded.Get()).cx, 16);
  EXPECT_EQ(extentOf(loaded.Get()).cy, 32);
}

TEST(RavixInterfaces, PersistsInTheContentsStreamOfAStorage) {
  ComPtr<IVoxa> control = createControl();
  ComPtr<IOleObject> object;
  ComPtr<IPersistStorage> persist;
  ASSERT_EQ(control.As(&object), S_OK);
  ASSERT_EQ(control.As(&persist), S_OK);
  SIZEL size{1234, 5678};
  object->SetExtent(DVASPECT_CONTENT, &size);
  ComPtr<ILockBytes> bytes;
  ComPtr<IStorage> storage;
  ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes), S_OK);
  ASSERT_EQ(StgCreateDocfileOnILockBytes(bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage),
            S_OK);
  EXPECT_EQ(persist->InitNew(storage.Get()), S_OK);
  ASSERT_EQ(persist->Save(storage.Get(), TRUE), S_OK);
  EXPECT_EQ(persist->SaveCompleted(nullptr), S_OK);
  ComPtr<IStream> contents;
  ASSERT_EQ(storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &contents), S_OK);
  EXPECT_EQ(streamBytes(contents.Get()), kSaved);
  contents.Reset();

  ComPtr<IVoxa> loaded = createControl();
  ComPtr<IPersistStorage> loader;
  ASSERT_EQ(loaded.As(&loader), S_OK);
  ASSERT_EQ(loader->Load(storage.Get()), S_OK);
  EXPECT_EQ(extentOf(loaded.Get()).cx, 1234);
  EXPECT_EQ(extentOf(loaded.Get()).cy, 5678);
  ComPtr<IStorage> empty;
  ASSERT_EQ(StgCreateDocfileOnILockBytes(bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &empty),
            S_OK);
  EXPECT_TRUE(FAILED(loader->Load(empty.Get())));
}

TEST(RavixInterfaces, StockAnswersOfViewDataAndPropertyPages) {
  ComPtr<IVoxa> control = createControl();
  ComPtr<IViewObjectEx> view;
  ComPtr<IOleObject> object;
  ComPtr<ISpecifyPropertyPages> pages;
  ComPtr<IDataObject> data;
  ComPtr<IOleInPlaceObjectWindowless> inPlace;
  ASSERT_EQ(control.As(&view), S_OK);
  ASSERT_EQ(control.As(&object), S_OK);
  ASSERT_EQ(control.As(&pages), S_OK);
  ASSERT_EQ(control.As(&data), S_OK);
  ASSERT_EQ(control.As(&inPlace), S_OK);
  DWORD status = 0;
  EXPECT_EQ(view->GetViewStatus(&status), S_OK);
  EXPECT_EQ(status, 3u);
  EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status, 131473u);
  EXPECT_EQ(object->GetMiscStatus(DVASPECT_ICON, &status), S_OK);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(object->DoVerb(OLEIVERB_OPEN, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
  CAUUID list{};
  ASSERT_EQ(pages->GetPages(&list), S_OK);
  ASSERT_EQ(list.cElems, 1u);
  EXPECT_EQ(guidText(list.pElems[0]), "{7EBDAAE1-8120-11CF-899F-00AA00688B10}");
  CoTaskMemFree(list.pElems);
  // Not in place: no window, and never windowless.
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);
  LRESULT result = 1;
  EXPECT_EQ(inPlace->OnWindowMessage(WM_KEYDOWN, VK_TAB, 0, &result), S_FALSE);

  FORMATETC format{CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&format, &medium), S_OK);
  EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_MFPICT));
  auto* picture = static_cast<METAFILEPICT*>(GlobalLock(medium.hMetaFilePict));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->mm, MM_ANISOTROPIC);
  EXPECT_EQ(picture->xExt, 5080);
  EXPECT_NE(picture->hMF, nullptr);
  GlobalUnlock(medium.hMetaFilePict);
  ReleaseStgMedium(&medium);
  FORMATETC bitmap{CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
  EXPECT_EQ(data->GetData(&bitmap, &medium), DV_E_FORMATETC);
}

TEST(RavixInterfaces, TypeLibraryDescribesTheControl) {
  ComPtr<IVoxa> control = createControl();
  UINT count = 0;
  EXPECT_EQ(control->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(control->GetTypeInfo(0, 0, &info), S_OK);
  ComPtr<ITypeLib> library;
  UINT index = 0;
  ASSERT_EQ(info->GetContainingTypeLib(&library, &index), S_OK);
  TLIBATTR* libraryAttributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&libraryAttributes), S_OK);
  EXPECT_EQ(guidText(libraryAttributes->guid), guidText(ravix::kLibidRavix));
  EXPECT_EQ(libraryAttributes->wMajorVerNum, 1);
  EXPECT_EQ(libraryAttributes->wMinorVerNum, 0);
  EXPECT_EQ(libraryAttributes->lcid, 0x0409u);
  EXPECT_EQ(libraryAttributes->syskind, SYS_WIN32);
  library->ReleaseTLibAttr(libraryAttributes);
  std::vector<std::string> typeNames;
  for (UINT k = 0; k < library->GetTypeInfoCount(); ++k) {
    BSTR name = nullptr;
    ASSERT_EQ(library->GetDocumentation(static_cast<INT>(k), &name, nullptr, nullptr, nullptr), S_OK);
    typeNames.push_back(win::bstrToAnsi(name));
    SysFreeString(name);
  }
  EXPECT_EQ(typeNames, (std::vector<std::string>{"_VOXAEvents", "Voxa", "IVoxa"}));

  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(guidText(attributes->guid), guidText(ravix::kIidVoxa));
  EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
  info->ReleaseTypeAttr(attributes);
  // The methods after the seven slots of IDispatch, in this order.
  const char* names[] = {"About", "LaunchMachine", "SendMessage"};
  for (int slot = 0; slot < 3; ++slot) {
    DISPID id = 0;
    std::wstring wide(names[slot], names[slot] + strlen(names[slot]));
    LPOLESTR name = wide.data();
    ASSERT_EQ(control->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << names[slot];
    EXPECT_EQ(id, slot + 1);
    MEMBERID member = 0;
    ASSERT_EQ(info->GetIDsOfNames(&name, 1, &member), S_OK);
    UINT funcIndex = 0;
    ComPtr<ITypeInfo2> info2;
    ASSERT_EQ(info.As(&info2), S_OK);
    ASSERT_EQ(info2->GetFuncIndexOfMemId(member, INVOKE_FUNC, &funcIndex), S_OK);
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(funcIndex, &function), S_OK);
    EXPECT_EQ(function->oVft, static_cast<SHORT>((7 + slot) * sizeof(void*))) << names[slot];
    if (slot > 0) {
      EXPECT_EQ(function->lprgelemdescParam[0].tdesc.vt, VT_PTR);
      EXPECT_EQ(function->lprgelemdescParam[0].tdesc.lptdesc->vt, VT_BSTR);
    }
    info->ReleaseFuncDesc(function);
  }

  ComPtr<IProvideClassInfo2> classInfo;
  ASSERT_EQ(control.As(&classInfo), S_OK);
  GUID source{};
  EXPECT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_EQ(guidText(source), guidText(ravix::kDiidVoxaEvents));
  EXPECT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID + 1, &source), E_FAIL);
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(classInfo->GetClassInfo(&coclass), S_OK);
  ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(guidText(attributes->guid), guidText(ravix::kClsidVoxa));
  EXPECT_EQ(attributes->cImplTypes, 2);
  coclass->ReleaseTypeAttr(attributes);
  HREFTYPE reference = 0;
  ComPtr<ITypeInfo> events;
  ASSERT_EQ(coclass->GetRefTypeOfImplType(1, &reference), S_OK);
  ASSERT_EQ(coclass->GetRefTypeInfo(reference, &events), S_OK);
  ASSERT_EQ(events->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(guidText(attributes->guid), guidText(ravix::kDiidVoxaEvents));
  EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
  events->ReleaseTypeAttr(attributes);

  // The names and help strings the library carries.
  auto documentation = [](ITypeInfo* type, MEMBERID member) {
    BSTR name = nullptr, help = nullptr;
    type->GetDocumentation(member, &name, &help, nullptr, nullptr);
    std::string text = win::bstrToAnsi(name) + ": " + win::bstrToAnsi(help);
    SysFreeString(name);
    SysFreeString(help);
    return text;
  };
  EXPECT_EQ(documentation(info.Get(), MEMBERID_NIL), "IVoxa: IVoxa Interface");
  EXPECT_EQ(documentation(info.Get(), 1), "About: method About");
  EXPECT_EQ(documentation(info.Get(), 2), "LaunchMachine: method LaunchMachine");
  EXPECT_EQ(documentation(info.Get(), 3), "SendMessage: method SendMessage");
  EXPECT_EQ(documentation(events.Get(), MEMBERID_NIL), "_VOXAEvents: Event interface for RAVIX");
  EXPECT_EQ(documentation(events.Get(), 1), "Message: ");
  EXPECT_EQ(documentation(events.Get(), 2), "EndMachine: ");
  EXPECT_EQ(documentation(coclass.Get(), MEMBERID_NIL), "Voxa: Voxa Class");
  BSTR name = nullptr, help = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(win::bstrToAnsi(name), "RAVIXLib");
  EXPECT_EQ(win::bstrToAnsi(help), "Ravix 1.0 Type Library");
  SysFreeString(name);
  SysFreeString(help);
}

TEST(RavixInterfaces, InvokeTakesAStringByValueOrByReference) {
  ComPtr<IVoxa> control = createControl();
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(control->Invoke(ravix::kDispidAbout, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
  // Idle: the machine is not asked. Through IDispatch the S_FALSE becomes a
  // plain success; the result carries it.
  BstrVariable text("hello");
  for (VARTYPE type : {VARTYPE(VT_BSTR), VARTYPE(VT_BSTR | VT_BYREF)}) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = type;
    if (type == VT_BSTR) {
      V_BSTR(&argument) = *text.get();
    } else {
      V_BSTRREF(&argument) = text.get();
    }
    DISPPARAMS params{&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(control->Invoke(ravix::kDispidSendMessage, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr,
                              nullptr),
              S_OK);
    EXPECT_EQ(V_VT(&result), VT_I4);
    EXPECT_EQ(V_I4(&result), 1);
  }
  EXPECT_EQ(control->Invoke(ravix::kDispidAbout, IID_IDispatch, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(control->Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
}

TEST(RavixInterfaces, QuickActivateConnectsTheContainersSink) {
  ComPtr<IVoxa> control = createControl();
  ComPtr<IQuickActivate> quick;
  ASSERT_EQ(control.As(&quick), S_OK);
  RecordingSink sink;
  QACONTAINER container{};
  container.cbSize = sizeof container;
  container.pUnkEventSink = &sink;
  QACONTROL answer{};
  answer.cbSize = sizeof answer;
  ASSERT_EQ(quick->QuickActivate(&container, &answer), S_OK);
  EXPECT_NE(answer.dwEventCookie, 0u);
  EXPECT_EQ(answer.dwMiscStatus, 131473u);
  EXPECT_EQ(answer.dwViewStatus, 3u);
  SIZEL size{300, 400};
  EXPECT_EQ(quick->SetContentExtent(&size), S_OK);
  SIZEL back{};
  EXPECT_EQ(quick->GetContentExtent(&back), S_OK);
  EXPECT_EQ(back.cx, 300);
  ComPtr<IConnectionPointContainer> points;
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(control.As(&points), S_OK);
  ASSERT_EQ(points->FindConnectionPoint(ravix::kDiidVoxaEvents, &point), S_OK);
  EXPECT_EQ(point->Unadvise(answer.dwEventCookie), S_OK);
}

TEST(RavixInterfaces, ConnectionPointHoldsSinksUnderTheirCookies) {
  ComPtr<IVoxa> control = createControl();
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(control.As(&container), S_OK);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(&points), S_OK);
  ULONG fetched = 0;
  ASSERT_EQ(points->Next(1, &point, &fetched), S_OK);
  IID iid{};
  EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(guidText(iid), guidText(ravix::kDiidVoxaEvents));
  IConnectionPoint* more = nullptr;
  EXPECT_EQ(points->Next(1, &more, &fetched), S_FALSE);
  ComPtr<IConnectionPointContainer> back;
  ASSERT_EQ(point->GetConnectionPointContainer(&back), S_OK);
  EXPECT_EQ(back.Get(), container.Get());

  RecordingSink first, second, third;
  DWORD cookie1 = 0, cookie2 = 0, cookie3 = 0;
  ASSERT_EQ(point->Advise(&first, &cookie1), S_OK);
  ASSERT_EQ(point->Advise(&second, &cookie2), S_OK);
  EXPECT_NE(cookie1, cookie2);
  EXPECT_EQ(point->Unadvise(cookie1), S_OK);
  EXPECT_EQ(point->Unadvise(cookie1), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(0), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(point->Advise(&third, &cookie3), S_OK);
  ComPtr<IEnumConnections> connections;
  ASSERT_EQ(point->EnumConnections(&connections), S_OK);
  CONNECTDATA data[3]{};
  EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();

  // A sink without the event interface cannot connect.
  struct Plain final : IUnknown {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
      *out = IsEqualIID(iid, IID_IUnknown) ? this : nullptr;
      return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
  } plain;
  DWORD cookie = 9;
  EXPECT_EQ(point->Advise(&plain, &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);
  point->Unadvise(cookie2);
  point->Unadvise(cookie3);
}

}  // namespace
}  // namespace ravix_test
