// The one renderer of the process: the Direct3D 9 object and its windowed
// device, the fixed base state of the tool, the camera, and the list of every
// Direct3D object so that a device reset can release and restore them all.
#pragma once
#include <d3d9.h>
#include <d3dx9math.h>

#include "render/blend_mode.h"
#include "render/d3d_object_win.h"
#include "render/dx_holders_win.h"

// Answers of CheckDeviceState.
constexpr int kDeviceUsable = 0;
constexpr int kDeviceNeedsReset = 2;
constexpr int kDeviceLost = 3;

constexpr int kRenderStatesSaved = 16;

class CDXRenderer {
 public:
  CDXRenderer();
  ~CDXRenderer();
  CDXRenderer(const CDXRenderer&) = delete;
  CDXRenderer& operator=(const CDXRenderer&) = delete;

  // Creates the device for the window: hardware, then software vertex
  // processing, then the reference device. E_FAIL when none can be made.
  HRESULT InitDevice(int width, int height, HWND window);
  // Puts the new device into the tool's base state and presents one frame.
  void SetupScene();

  // Around every reset and resize. Release saves the fixed-function state;
  // calling it again before a restore keeps what was saved. Restore goes
  // over every object and returns the first failure.
  HRESULT ReleaseAllDeviceObjects();
  HRESULT RestoreAllDeviceObjects();

  // kDeviceUsable, kDeviceNeedsReset or kDeviceLost.
  int CheckDeviceState();
  // Resets the device with the presentation parameters. Anything but D3D_OK
  // leaves the device marked lost, so CheckDeviceState asks for a new try.
  HRESULT ResetDevice();
  // Stores the size in the presentation parameters and resets the device.
  HRESULT SetBackBufferSize(int width, int height);
  HRESULT SetViewportSize(int width, int height);

  void ResetCamera(float field_of_view);
  void UpdateProjection();
  // World = Rx . Rz . Ry . T (row vectors); a zero angle skips its rotation.
  void SetWorldFromEuler(float rx, float ry, float rz, const D3DXVECTOR3& position);
  void SetWorldIdentity();
  // A value outside the table changes nothing.
  void SetBlendMode(BlendMode mode);

  // Presents the frame drawn; device loss marks the device lost, any other
  // result counts a frame.
  HRESULT PresentFrame();
  // Waits until the device has carried out every command queued so far, the
  // last Present among them, or `limit_ms` passed. False on a timeout or when
  // the device cannot tell. Wine presents on a thread of its own and can
  // deadlock when the program shows a window meanwhile.
  bool FinishQueuedFrames(DWORD limit_ms);
  // A system-memory copy of the back buffer as it is now (drawn, not yet
  // presented); a multisampled buffer is resolved first. The caller releases it.
  HRESULT CaptureBackBuffer(IDirect3DSurface9** copy);

  IDirect3D9* D3D() const { return d3d_; }
  IDirect3DDevice9* Device() const { return device_; }
  CDXCamera* Camera() const { return camera_; }
  const D3DPRESENT_PARAMETERS& PresentParameters() const { return present_; }
  D3DCOLOR ClearColor() const { return clear_colour_; }
  DWORD VertexShaderVersion() const { return vertex_shader_version_; }
  DWORD PixelShaderVersion() const { return pixel_shader_version_; }
  bool AlphaTestSupported() const { return alpha_test_supported_; }
  void SetAlphaTestSupported(bool supported) { alpha_test_supported_ = supported; }
  bool DeviceMayBeLost() const { return device_may_be_lost_; }
  int BackBufferWidth() const { return back_buffer_width_; }
  int BackBufferHeight() const { return back_buffer_height_; }
  unsigned FrameCount() const { return frame_counter_; }
  CD3DObject* FirstObject() const { return objects_; }

 private:
  friend class CD3DObject;
  void LinkObject(CD3DObject* object);
  void UnlinkObject(CD3DObject* object);
  void BuildPresentParameters();
  void SetBaseSamplerStates();

  IDirect3D9* d3d_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  BOOL windowed_ = TRUE;
  int width_ = 0, height_ = 0;  // requested size for full-screen use
  HWND window_ = nullptr;
  unsigned frame_counter_ = 0;
  bool full_colour_ = true;
  int depth_mode_ = 1;
  D3DCOLOR clear_colour_ = 0xFF000000;
  CDXCamera* camera_ = nullptr;
  DWORD vertex_shader_version_ = 0, pixel_shader_version_ = 0;
  bool device_may_be_lost_ = false;
  bool alpha_test_supported_ = false;
  bool immediate_presentation_ = false;
  D3DPRESENT_PARAMETERS present_{};

  // Saved by ReleaseAllDeviceObjects, put back by RestoreAllDeviceObjects.
  bool objects_released_ = false;
  DWORD saved_ambient_ = 0;
  D3DLIGHT9 saved_light_{};
  BOOL saved_light_enable_ = FALSE;
  D3DMATERIAL9 saved_material_{};
  DWORD saved_states_[kRenderStatesSaved] = {};

  int back_buffer_width_ = 0, back_buffer_height_ = 0;
  CD3DObject* objects_ = nullptr;
};
