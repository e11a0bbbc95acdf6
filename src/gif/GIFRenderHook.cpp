#include "GIFRenderHook.h"

#include <atomic>

namespace corvane {

namespace {

std::atomic<TGIFRenderHook*> gRenderHook{nullptr};

}  // namespace

void InstallGIFRenderHook(TGIFRenderHook& hook) { gRenderHook = &hook; }

TGIFRenderHook* GIFRenderHook() { return gRenderHook; }

}  // namespace corvane
