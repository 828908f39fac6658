#include "render/renderer_win.h"

namespace {

// Saved before a reset and put back after it, in this order.
const D3DRENDERSTATETYPE kSavedStates[kRenderStatesSaved] = {
    D3DRS_SHADEMODE,     D3DRS_ALPHATESTENABLE, D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND,
    D3DRS_DESTBLEND,     D3DRS_FOGENABLE,       D3DRS_SPECULARENABLE,   D3DRS_FOGCOLOR,
    D3DRS_STENCILENABLE, D3DRS_STENCILFAIL,     D3DRS_STENCILZFAIL,     D3DRS_STENCILPASS,
    D3DRS_STENCILREF,    D3DRS_TEXTUREFACTOR,   D3DRS_LIGHTING,         D3DRS_COLORVERTEX,
};

// The render and texture-stage states of each BlendMode, in its order.
struct BlendStates {
  BOOL blending;
  D3DBLEND source;
  D3DBLEND destination;
  DWORD alpha_ref;
  BOOL alpha_test;
  D3DTEXTUREOP alpha_op;
  D3DTEXTUREOP colour_op;
};

const BlendStates kBlendModes[kBlendModeCount] = {
    {FALSE, D3DBLEND_ONE, D3DBLEND_ZERO, 1, FALSE, D3DTOP_MODULATE, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0x80, TRUE, D3DTOP_MODULATE, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR, 0x80, TRUE, D3DTOP_SELECTARG1, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR, 0x80, TRUE, D3DTOP_MODULATE, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_ONE, D3DBLEND_ONE, 1, FALSE, D3DTOP_SELECTARG1, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 1, FALSE, D3DTOP_SELECTARG1, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCCOLOR, 1, TRUE, D3DTOP_MODULATE, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 1, FALSE, D3DTOP_SELECTARG2, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_ONE, D3DBLEND_ONE, 1, TRUE, D3DTOP_MODULATE, D3DTOP_MODULATE},
    {TRUE, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 1, TRUE, D3DTOP_ADD, D3DTOP_ADD},
    {TRUE, D3DBLEND_INVDESTCOLOR, D3DBLEND_ONE, 1, FALSE, D3DTOP_SELECTARG1, D3DTOP_MODULATE},
};

D3DFORMAT ChooseDepthFormat(IDirect3D9* d3d, int depth_mode, D3DFORMAT adapter_format,
                            D3DFORMAT colour_format) {
  static const D3DFORMAT kMode1[] = {D3DFMT_D24X8};
  static const D3DFORMAT kMode2[] = {D3DFMT_D24S8};
  static const D3DFORMAT kMode3[] = {D3DFMT_D32, D3DFMT_D32F_LOCKABLE};
  const D3DFORMAT* candidates = nullptr;
  int count = 0;
  if (depth_mode == 1) candidates = kMode1, count = 1;
  if (depth_mode == 2) candidates = kMode2, count = 1;
  if (depth_mode == 3) candidates = kMode3, count = 2;
  for (int i = 0; i < count; ++i) {
    if (SUCCEEDED(
            d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, adapter_format, colour_format, candidates[i])))
      return candidates[i];
  }
  return D3DFMT_D16;
}

}  // namespace

CDXRenderer::CDXRenderer() = default;

CDXRenderer::~CDXRenderer() {
  delete camera_;
  camera_ = nullptr;
  // Objects that outlive the renderer keep their COM objects (which hold
  // the device) but no longer reach the renderer or its list.
  while (objects_ != nullptr) {
    CD3DObject* object = objects_;
    objects_ = object->next_;
    object->renderer_ = nullptr;
    object->prev_ = object->next_ = nullptr;
  }
  SafeRelease(device_);
  SafeRelease(d3d_);
}

void CDXRenderer::LinkObject(CD3DObject* object) {
  object->prev_ = nullptr;
  object->next_ = objects_;
  if (objects_ != nullptr) objects_->prev_ = object;
  objects_ = object;
}

void CDXRenderer::UnlinkObject(CD3DObject* object) {
  if (object->prev_ != nullptr)
    object->prev_->next_ = object->next_;
  else if (objects_ == object)
    objects_ = object->next_;
  if (object->next_ != nullptr) object->next_->prev_ = object->prev_;
  object->prev_ = object->next_ = nullptr;
}

HRESULT CDXRenderer::InitDevice(int width, int height, HWND window) {
  SafeRelease(device_);
  SafeRelease(d3d_);
  width_ = width;
  height_ = height;
  window_ = window;
  windowed_ = TRUE;
  full_colour_ = true;
  depth_mode_ = 1;
  // Presented at the display's rate: an idle preview leaves the processor
  // free instead of drawing hundreds of frames a second.
  immediate_presentation_ = false;

  d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
  if (d3d_ == nullptr) return E_FAIL;
  BuildPresentParameters();

  static const struct {
    D3DDEVTYPE type;
    DWORD flags;
  } kAttempts[] = {
      {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
      {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
      {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
  };
  for (const auto& attempt : kAttempts) {
    D3DPRESENT_PARAMETERS parameters = present_;
    if (SUCCEEDED(d3d_->CreateDevice(0, attempt.type, window, attempt.flags, &parameters, &device_))) {
      present_ = parameters;  // now with the sizes and format the device chose
      break;
    }
    device_ = nullptr;
  }
  if (device_ == nullptr) return E_FAIL;
  SetViewportSize(width_, height_);
  return S_OK;
}

void CDXRenderer::BuildPresentParameters() {
  present_ = D3DPRESENT_PARAMETERS{};
  D3DDISPLAYMODE mode{};
  const D3DFORMAT adapter_format =
      SUCCEEDED(d3d_->GetAdapterDisplayMode(0, &mode)) ? mode.Format : D3DFMT_X8R8G8B8;

  present_.BackBufferCount = 1;
  present_.Windowed = windowed_;
  present_.hDeviceWindow = window_;
  present_.FullScreen_RefreshRateInHz = 0;
  present_.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
  present_.SwapEffect = D3DSWAPEFFECT_DISCARD;
  present_.EnableAutoDepthStencil = TRUE;
  present_.PresentationInterval =
      immediate_presentation_ ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT;

  // The colour format the tests ask about is the one the back buffer gets.
  D3DFORMAT colour_format = adapter_format;
  if (windowed_) {
    present_.BackBufferFormat = D3DFMT_UNKNOWN;
    present_.BackBufferWidth = 0;  // the window's client area
    present_.BackBufferHeight = 0;
  } else {
    present_.BackBufferWidth = static_cast<UINT>(width_);
    present_.BackBufferHeight = static_cast<UINT>(height_);
    colour_format = full_colour_ ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5;
    present_.BackBufferFormat = colour_format;
  }

  present_.AutoDepthStencilFormat = ChooseDepthFormat(d3d_, depth_mode_, adapter_format, colour_format);

  // Two samples only when both the colour and the depth buffer can have them.
  if (full_colour_ &&
      SUCCEEDED(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, colour_format, windowed_,
                                                 D3DMULTISAMPLE_2_SAMPLES, nullptr)) &&
      SUCCEEDED(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, present_.AutoDepthStencilFormat,
                                                 windowed_, D3DMULTISAMPLE_2_SAMPLES, nullptr)))
    present_.MultiSampleType = D3DMULTISAMPLE_2_SAMPLES;

}

HRESULT CDXRenderer::SetViewportSize(int width, int height) {
  if (device_ == nullptr) return E_FAIL;
  D3DVIEWPORT9 viewport{0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0.0f, 1.0f};
  const HRESULT hr = device_->SetViewport(&viewport);
  back_buffer_width_ = width;
  back_buffer_height_ = height;
  if (camera_ != nullptr) {
    UpdateProjection();
    device_->SetTransform(D3DTS_PROJECTION, &camera_->projection);
  }
  return hr;
}

void CDXRenderer::SetupScene() {
  if (device_ == nullptr) return;
  D3DCAPS9 caps{};
  if (SUCCEEDED(device_->GetDeviceCaps(&caps))) {
    alpha_test_supported_ = caps.AlphaCmpCaps != D3DPCMPCAPS_ALWAYS && caps.AlphaCmpCaps != D3DPCMPCAPS_NEVER;
    vertex_shader_version_ = caps.VertexShaderVersion & 0xFFFF;
    pixel_shader_version_ = caps.PixelShaderVersion & 0xFFFF;
  }

  device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear_colour_, 1.0f, 0);
  device_->BeginScene();

  device_->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
  {
    CDXLight light(this);
    CDXMaterial material(this);
    device_->SetLight(0, &light.light);
    device_->SetMaterial(&material.material);
  }

  SetViewportSize(width_, height_);

  delete camera_;
  camera_ = new CDXCamera(this);
  ResetCamera(D3DX_PI / 4.0f);
  device_->SetTransform(D3DTS_VIEW, &camera_->view);
  device_->SetTransform(D3DTS_PROJECTION, &camera_->projection);
  SetWorldIdentity();

  SetBlendMode(BlendMode::kOpaque);

  device_->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
  device_->SetRenderState(D3DRS_COLORVERTEX, FALSE);
  device_->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
  device_->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
  device_->SetRenderState(D3DRS_ZENABLE, TRUE);
  device_->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  SetBaseSamplerStates();

  device_->EndScene();
  PresentFrame();
}

void CDXRenderer::SetBaseSamplerStates() {
  device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
  device_->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
  device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
  device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  for (DWORD stage = 1; stage <= 2; ++stage) {
    device_->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device_->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    device_->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  }
}

void CDXRenderer::ResetCamera(float field_of_view) {
  if (camera_ == nullptr) return;
  camera_->eye = D3DXVECTOR3(0.0f, 48.0f, -150.0f);
  camera_->look_at = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  camera_->up = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
  camera_->field_of_view = field_of_view;
  D3DXMatrixLookAtLH(&camera_->view, &camera_->eye, &camera_->look_at, &camera_->up);
  D3DXMatrixInverse(&camera_->inverse_view, nullptr, &camera_->view);
  UpdateProjection();
}

void CDXRenderer::UpdateProjection() {
  if (camera_ == nullptr || device_ == nullptr) return;
  D3DVIEWPORT9 viewport{};
  device_->GetViewport(&viewport);
  const float aspect = viewport.Height != 0 ? static_cast<float>(viewport.Width) / viewport.Height : 1.0f;
  D3DXMatrixPerspectiveFovLH(&camera_->projection, camera_->field_of_view, aspect, camera_->near_plane,
                             camera_->far_plane);
  D3DXMatrixInverse(&camera_->inverse_projection, nullptr, &camera_->projection);
}

HRESULT CDXRenderer::ReleaseAllDeviceObjects() {
  for (CD3DObject* object = objects_; object != nullptr; object = object->next_)
    object->ReleaseDeviceObjects();
  // A second release before the restore keeps the state saved by the first:
  // after a failed reset the device no longer holds it.
  if (device_ != nullptr && !objects_released_) {
    device_->GetRenderState(D3DRS_AMBIENT, &saved_ambient_);
    device_->GetLight(0, &saved_light_);
    device_->GetLightEnable(0, &saved_light_enable_);
    device_->GetMaterial(&saved_material_);
    for (int i = 0; i < kRenderStatesSaved; ++i) device_->GetRenderState(kSavedStates[i], &saved_states_[i]);
    objects_released_ = true;
  }
  device_may_be_lost_ = false;
  return 0;
}

HRESULT CDXRenderer::RestoreAllDeviceObjects() {
  if (device_ == nullptr) return E_FAIL;
  HRESULT first_failure = S_OK;
  for (CD3DObject* object = objects_; object != nullptr; object = object->next_) {
    const HRESULT hr = object->RestoreDeviceObjects();
    if (FAILED(hr) && SUCCEEDED(first_failure)) first_failure = hr;
  }
  if (camera_ != nullptr) {
    D3DXMatrixLookAtLH(&camera_->view, &camera_->eye, &camera_->look_at, &camera_->up);
    D3DXMatrixInverse(&camera_->inverse_view, nullptr, &camera_->view);
    device_->SetTransform(D3DTS_VIEW, &camera_->view);
    UpdateProjection();
    device_->SetTransform(D3DTS_PROJECTION, &camera_->projection);
  }
  if (objects_released_) {
    device_->SetRenderState(D3DRS_AMBIENT, saved_ambient_);
    device_->SetLight(0, &saved_light_);
    device_->SetMaterial(&saved_material_);
    device_->LightEnable(0, saved_light_enable_);
    for (int i = 0; i < kRenderStatesSaved; ++i) device_->SetRenderState(kSavedStates[i], saved_states_[i]);
  }
  SetBaseSamplerStates();
  // After a partial failure the next release must not save the state again.
  if (SUCCEEDED(first_failure)) objects_released_ = false;
  return first_failure;
}

int CDXRenderer::CheckDeviceState() {
  if (!device_may_be_lost_ || device_ == nullptr) return kDeviceUsable;
  const HRESULT hr = device_->TestCooperativeLevel();
  if (hr == D3DERR_DEVICELOST) return kDeviceLost;
  if (hr == D3DERR_DEVICENOTRESET) return kDeviceNeedsReset;
  device_may_be_lost_ = false;
  return kDeviceUsable;
}

HRESULT CDXRenderer::ResetDevice() {
  if (device_ == nullptr) return E_FAIL;
  const HRESULT hr = device_->Reset(&present_);
  if (hr != D3D_OK) {
    device_may_be_lost_ = true;
    return hr;
  }
  device_may_be_lost_ = false;
  back_buffer_width_ = static_cast<int>(present_.BackBufferWidth);
  back_buffer_height_ = static_cast<int>(present_.BackBufferHeight);
  return hr;
}

HRESULT CDXRenderer::SetBackBufferSize(int width, int height) {
  width_ = width;
  height_ = height;
  present_.BackBufferWidth = static_cast<UINT>(width);
  present_.BackBufferHeight = static_cast<UINT>(height);
  return ResetDevice();
}

void CDXRenderer::SetWorldFromEuler(float rx, float ry, float rz, const D3DXVECTOR3& position) {
  if (device_ == nullptr) return;
  D3DXMATRIX world, step;
  D3DXMatrixIdentity(&world);
  if (rx != 0.0f) world *= *D3DXMatrixRotationX(&step, rx);
  if (rz != 0.0f) world *= *D3DXMatrixRotationZ(&step, rz);
  if (ry != 0.0f) world *= *D3DXMatrixRotationY(&step, ry);
  world *= *D3DXMatrixTranslation(&step, position.x, position.y, position.z);
  device_->SetTransform(D3DTS_WORLD, &world);
}

void CDXRenderer::SetWorldIdentity() {
  if (device_ == nullptr) return;
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  device_->SetTransform(D3DTS_WORLD, &identity);
}

void CDXRenderer::SetBlendMode(BlendMode mode) {
  const int row = static_cast<int>(mode);
  if (device_ == nullptr || row < 0 || row >= kBlendModeCount) return;
  const BlendStates& m = kBlendModes[row];
  device_->SetRenderState(D3DRS_ALPHABLENDENABLE, m.blending);
  device_->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  device_->SetRenderState(D3DRS_SRCBLEND, m.source);
  device_->SetRenderState(D3DRS_DESTBLEND, m.destination);
  if (alpha_test_supported_) {
    device_->SetRenderState(D3DRS_ALPHAREF, m.alpha_ref);
    device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device_->SetRenderState(D3DRS_ALPHATESTENABLE, m.alpha_test);
  }
  device_->SetTextureStageState(0, D3DTSS_ALPHAOP, m.alpha_op);
  device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  device_->SetTextureStageState(0, D3DTSS_COLOROP, m.colour_op);
  device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
}

HRESULT CDXRenderer::PresentFrame() {
  if (device_ == nullptr) return E_FAIL;
  const HRESULT hr = device_->Present(nullptr, nullptr, nullptr, nullptr);
  if (hr == D3DERR_DEVICELOST)
    device_may_be_lost_ = true;
  else
    ++frame_counter_;
  return hr;
}

bool CDXRenderer::FinishQueuedFrames(DWORD limit_ms) {
  if (device_ == nullptr) return false;
  IDirect3DQuery9* done = nullptr;
  if (FAILED(device_->CreateQuery(D3DQUERYTYPE_EVENT, &done))) return false;
  bool finished = false;
  if (SUCCEEDED(done->Issue(D3DISSUE_END))) {
    const ULONGLONG deadline = GetTickCount64() + limit_ms;
    for (;;) {
      const HRESULT hr = done->GetData(nullptr, 0, D3DGETDATA_FLUSH);
      if (hr != S_FALSE) {
        finished = hr == S_OK;
        break;
      }
      if (GetTickCount64() >= deadline) break;
      Sleep(1);
    }
  }
  done->Release();
  return finished;
}

HRESULT CDXRenderer::CaptureBackBuffer(IDirect3DSurface9** copy) {
  *copy = nullptr;
  if (device_ == nullptr) return E_FAIL;
  IDirect3DSurface9* back = nullptr;
  HRESULT hr = device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
  if (FAILED(hr)) return hr;
  D3DSURFACE_DESC desc{};
  back->GetDesc(&desc);

  // GetRenderTargetData cannot read a multisampled surface: resolve it into
  // a plain render target of the same size first.
  IDirect3DSurface9* resolved = nullptr;
  IDirect3DSurface9* source = back;
  if (desc.MultiSampleType != D3DMULTISAMPLE_NONE) {
    hr = device_->CreateRenderTarget(desc.Width, desc.Height, desc.Format, D3DMULTISAMPLE_NONE, 0, FALSE,
                                     &resolved, nullptr);
    if (SUCCEEDED(hr)) hr = device_->StretchRect(back, nullptr, resolved, nullptr, D3DTEXF_NONE);
    source = resolved;
  }
  IDirect3DSurface9* target = nullptr;
  if (SUCCEEDED(hr))
    hr = device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                              &target, nullptr);
  if (SUCCEEDED(hr)) hr = device_->GetRenderTargetData(source, target);
  SafeRelease(resolved);
  SafeRelease(back);
  if (FAILED(hr)) {
    SafeRelease(target);
    return hr;
  }
  *copy = target;
  return hr;
}
