// cadsim.exe as a COM server, seen from another process: a plain IDispatch client with
// no type library, the dual application and plot interfaces, the host's error text.
#include <gtest/gtest.h>

#include "cad/ids.h"
#include "tests/win/cadsim_client.h"
#include "tests/win/stand_in.h"

namespace {

using namespace cadsim_test;

// The vtable of the host's dual application interface as a client compiled against the
// host's header sees it.
struct DECLSPEC_NOVTABLE ApplicationVtable : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_ActiveDocument(IDispatch** document) = 0;
    virtual HRESULT STDMETHODCALLTYPE ZoomExtents() = 0;
    virtual HRESULT STDMETHODCALLTYPE ZoomWindow(VARIANT lowerLeft, VARIANT upperRight) = 0;
    virtual HRESULT STDMETHODCALLTYPE ZoomPrevious() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_HWND(LONG* handle) = 0;
};
struct DECLSPEC_NOVTABLE PlotVtable : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE put_NumberOfCopies(LONG copies) = 0;
};

IID iidOf(const wchar_t* text) {
    IID iid{};
    cad::com::guidFromString(text, iid);
    return iid;
}

class CadsimCom : public testing::Test {
protected:
    // One stand-in for the suite: the cases only read.
    static void TearDownTestSuite() { cadsim_.reset(); }
    void SetUp() override {
        ASSERT_TRUE(com_.ok());
        if (!cadsim_) cadsim_ = std::make_unique<StandIn>(std::vector<std::wstring>{twoLineDrawing()});
        ASSERT_TRUE(cadsim_->started()) << cadsim_->output();
        mainWindow_ = cadsim_->waitForMainWindow();
        ASSERT_NE(mainWindow_, nullptr) << cadsim_->output();
        ComPtr<IUnknown> unknown;
        ASSERT_HRESULT_SUCCEEDED(createApplication(unknown));
        ASSERT_HRESULT_SUCCEEDED(unknown.query(IID_IDispatch, app_));
    }

    LONG handleOf(IDispatch* object) {
        const CallResult r = call(object, L"HWND", DISPATCH_PROPERTYGET);
        EXPECT_HRESULT_SUCCEEDED(r.hr);
        return V_VT(&r.value.get()) == VT_I4 ? V_I4(&r.value.get()) : 0;
    }
    ComPtr<IDispatch> document() { return objectOf(call(app_.get(), L"ActiveDocument", DISPATCH_PROPERTYGET)); }

    cad::com::ComInit com_;
    static inline std::unique_ptr<StandIn> cadsim_;
    HWND mainWindow_ = nullptr;
    ComPtr<IDispatch> app_;
};

TEST_F(CadsimCom, PlainDispatchClientReachesTheHostsWindowsAndObjects) {
    EXPECT_EQ(handleOf(app_.get()), static_cast<LONG>(reinterpret_cast<LONG_PTR>(mainWindow_)));
    const ComPtr<IDispatch> doc = document();
    ASSERT_TRUE(doc);
    EXPECT_EQ(handleOf(doc.get()), static_cast<LONG>(reinterpret_cast<LONG_PTR>(GetWindow(mainWindow_, GW_CHILD))));
    // Member names are matched without regard to letter case, as IDispatch does.
    for (const wchar_t* spelling : {L"ZoomExtents", L"zoomextents", L"ZOOMEXTENTS"})
        EXPECT_HRESULT_SUCCEEDED(call(app_.get(), spelling, DISPATCH_METHOD).hr) << spelling;
    EXPECT_EQ(call(app_.get(), L"NoSuchMember", DISPATCH_METHOD).hr, DISP_E_UNKNOWNNAME);
}

TEST_F(CadsimCom, HostFailureTextCrossesTheProcessBoundary) {
    const ComPtr<IDispatch> doc = document();
    ASSERT_TRUE(doc);
    const CallResult r = call(doc.get(), L"GetVariable", DISPATCH_METHOD, {bstrVariant(L"NO_SUCH_VARIABLE").get()});
    EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
    // The host's own text arrives, through EXCEPINFO or the thread's error information
    // (Wine carries the first across processes, Windows both); where both came they agree.
    const std::wstring text = r.exceptionText.empty() ? r.errorInfoText : r.exceptionText;
    EXPECT_NE(text.find(L"NO_SUCH_VARIABLE"), std::wstring::npos) << std::string(text.begin(), text.end());
    if (!r.exceptionText.empty() && !r.errorInfoText.empty()) {
        EXPECT_EQ(r.exceptionText, r.errorInfoText);
    }
    // A later successful call leaves no stale text behind.
    const CallResult ok = call(doc.get(), L"GetVariable", DISPATCH_METHOD, {bstrVariant(L"GRIDMODE").get()});
    EXPECT_HRESULT_SUCCEEDED(ok.hr);
}

TEST_F(CadsimCom, OutArgumentsAreWrittenBack) {
    const ComPtr<IDispatch> doc = document();
    ASSERT_TRUE(doc);
    const ComPtr<IDispatch> set = objectOf(call(doc.get(), L"ActiveSelectionSet", DISPATCH_PROPERTYGET));
    ASSERT_TRUE(set);
    ASSERT_HRESULT_SUCCEEDED(call(set.get(), L"Select", DISPATCH_METHOD,
                                          {i4Variant(5).get(), omittedVariant().get(), omittedVariant().get(),
                                           omittedVariant().get(), omittedVariant().get()})
                                         .hr);
    Variant lowerLeft, upperRight;
    VARIANT refs[2];
    V_VT(&refs[0]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&refs[0]) = &lowerLeft.get();
    V_VT(&refs[1]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&refs[1]) = &upperRight.get();
    ASSERT_HRESULT_SUCCEEDED(call(set.get(), L"GetBoundingBox", DISPATCH_METHOD, {refs[0], refs[1]}).hr);
    const std::vector<double> low = doublesOf(lowerLeft.get()), high = doublesOf(upperRight.get());
    ASSERT_GE(low.size(), 2u);
    ASSERT_GE(high.size(), 2u);
    // The two lines span (0, 0) to (100, 50).
    EXPECT_EQ(low[0], 0.0);
    EXPECT_EQ(low[1], 0.0);
    EXPECT_EQ(high[0], 100.0);
    EXPECT_EQ(high[1], 50.0);
}

TEST_F(CadsimCom, DualInterfacesAnswerAcrossProcesses) {
    ComPtr<ApplicationVtable> application;
    ASSERT_HRESULT_SUCCEEDED(app_.query(iidOf(cad::kApplicationInterfaceId), application));
    ComPtr<PlotVtable> notPlot;
    EXPECT_EQ(app_.query(iidOf(cad::kPlotInterfaceId), notPlot), E_NOINTERFACE);

    // Quillon calls every member late-bound, so the interface's Invoke is what must work;
    // the proxy's own vtable slots are left alone (under Wine a proxy made after the type
    // library was registered again can lack them).
    const CallResult viaInvoke = call(application.get(), L"HWND", DISPATCH_PROPERTYGET);
    ASSERT_HRESULT_SUCCEEDED(viaInvoke.hr);
    EXPECT_EQ(V_I4(&viaInvoke.value.get()), static_cast<LONG>(reinterpret_cast<LONG_PTR>(mainWindow_)));

    const ComPtr<IDispatch> doc = objectOf(call(application.get(), L"ActiveDocument", DISPATCH_PROPERTYGET));
    ASSERT_TRUE(doc);
    const ComPtr<IDispatch> plot = objectOf(call(doc.get(), L"Plot", DISPATCH_PROPERTYGET));
    ASSERT_TRUE(plot);
    ComPtr<PlotVtable> plotInterface;
    ASSERT_HRESULT_SUCCEEDED(plot.query(iidOf(cad::kPlotInterfaceId), plotInterface));
    VARIANT copies;
    VariantInit(&copies);
    V_VT(&copies) = VT_I4;
    V_I4(&copies) = 1;
    EXPECT_HRESULT_SUCCEEDED(call(plotInterface.get(), L"NumberOfCopies", DISPATCH_PROPERTYPUT, {copies}).hr);
    ComPtr<ApplicationVtable> notApplication;
    EXPECT_EQ(plot.query(iidOf(cad::kApplicationInterfaceId), notApplication), E_NOINTERFACE);
}

}  // namespace
