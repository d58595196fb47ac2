// The C interface over clsBuild. Every entry point catches everything.
#include "lorvex.h"

#include <memory>
#include <new>

#include "common/version.h"
#include "host/cls_build.h"
#include "platform/headless_platform.h"
#if defined(LORVEX_QT_WINDOW)
#include "ui/qt/window_platform_qt.h"
#endif

struct LorvexBuilder {
  // The platform of a headless build; any other build shows the real window when the
  // process can show windows.
  lorvex::platform::HeadlessPlatform platform;
  std::unique_ptr<lorvex::clsBuild> builder;
  bool headlessBuild = false;
};

namespace {

template <typename Result, typename Call>
Result Guard(Result fallback, Call call) {
  try {
    return call();
  } catch (...) {
    return fallback;
  }
}

}  // namespace

extern "C" {

LorvexBuilder* lorvex_create(void) {
  return Guard<LorvexBuilder*>(nullptr, [] {
#if defined(LORVEX_QT_WINDOW)
    lorvex::ui::qt::InstallQtWindowPlatform();
#endif
    auto* handle = new (std::nothrow) LorvexBuilder;
    if (handle == nullptr) return handle;
    handle->builder = std::make_unique<lorvex::clsBuild>();
    return handle;
  });
}

void lorvex_destroy(LorvexBuilder* builder) { delete builder; }

int lorvex_build(LorvexBuilder* builder, int32_t width, int32_t height, int wrap) {
  if (builder == nullptr) return 0;
  return Guard(0, [&] {
    if (width < 1 || height < 1 || width > LORVEX_MAX_MAP_SIDE || height > LORVEX_MAX_MAP_SIDE)
      return 0;
    builder->builder->SetPlatform(builder->headlessBuild ? &builder->platform : nullptr);
    if (builder->headlessBuild)
      builder->platform.AddModalAction([](lorvex::platform::Window& window) {
        static_cast<lorvex::ui::frmBuild&>(window).cmdBuild_Click();
      });
    return builder->builder->Build(static_cast<int16_t>(width), static_cast<int16_t>(height),
                                   wrap != 0)
               ? 1
               : 0;
  });
}

int16_t lorvex_get_terrain_c(const LorvexBuilder* builder, int32_t pos) {
  return builder == nullptr ? 4 : builder->builder->GetTerrainC(pos);
}

int16_t lorvex_test_c(const LorvexBuilder*, int16_t) { return 4; }

char lorvex_get_terrain_vb(const LorvexBuilder* builder, int32_t x, int32_t y) {
  if (builder == nullptr) return 'C';
  return Guard('C', [&] { return builder->builder->GetTerrainVB(x, y).front(); });
}

int16_t lorvex_get_production_c(const LorvexBuilder* builder, int32_t pos) {
  return builder == nullptr ? 10 : builder->builder->GetProductionC(pos);
}

int16_t lorvex_get_specialty_c(const LorvexBuilder* builder, int32_t pos) {
  return builder == nullptr ? 10 : builder->builder->GetSpecialtyC(pos);
}

int16_t lorvex_get_owner_c(const LorvexBuilder* builder, int32_t pos) {
  return builder == nullptr ? 10 : builder->builder->GetOwnerC(pos);
}

void lorvex_set_seed(LorvexBuilder* builder, uint64_t seed) {
  if (builder != nullptr) builder->builder->SetNextSeed(seed);
}

void lorvex_set_headless_build(LorvexBuilder* builder, int enabled) {
  if (builder != nullptr) builder->headlessBuild = enabled != 0;
}

void lorvex_set_question_answer(LorvexBuilder* builder, int yes) {
  if (builder != nullptr)
    builder->platform.SetDefaultQuestionAnswer(yes != 0 ? lorvex::platform::MessageAnswer::kYes
                                                        : lorvex::platform::MessageAnswer::kNo);
}

uint64_t lorvex_last_seed(const LorvexBuilder* builder) {
  return builder == nullptr ? 0 : builder->builder->LastSeed();
}

int32_t lorvex_map_width(const LorvexBuilder* builder) {
  return builder == nullptr ? 0 : builder->builder->World().MapArray.Width();
}

int32_t lorvex_map_height(const LorvexBuilder* builder) {
  return builder == nullptr ? 0 : builder->builder->World().MapArray.Height();
}

int32_t lorvex_city_count(const LorvexBuilder* builder) {
  return builder == nullptr ? 0 : static_cast<int32_t>(builder->builder->World().CityCount);
}

const char* lorvex_version(void) { return lorvex::kVersionText; }

}  // extern "C"
