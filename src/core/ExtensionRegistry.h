// The GL extension registry: one flag per known extension and one pointer per entry point the
// program calls, filled while a context is current. Frame code tests the flags and calls the
// pointers; nothing is looked up per frame.
#pragma once
#include "core/GL.h"

#include <string>

namespace ext {

// Flags, false until initExtension finds the extension: gl_NAME for GL_NAME, wgl_NAME for
// WGL_NAME (the GL headers take the plain names as macros).
extern bool gl_ARB_window_pos;
extern bool gl_ARB_multisample;
extern bool gl_ARB_multitexture;
extern bool gl_ARB_texture_compression;
extern bool gl_ARB_vertex_blend;
extern bool gl_ARB_transpose_matrix;
extern bool gl_ARB_vertex_program;
extern bool gl_ARB_fragment_program;
extern bool gl_EXT_vertex_array;
extern bool gl_EXT_compiled_vertex_array;
extern bool gl_EXT_texture_object;
extern bool gl_EXT_fog_coord;
extern bool gl_EXT_secondary_color;
extern bool gl_EXT_draw_range_elements;
extern bool gl_EXT_multi_draw_arrays;
extern bool gl_EXT_texture3D;
extern bool gl_EXT_point_parameters;
extern bool gl_ARB_point_parameters;
extern bool gl_EXT_vertex_shader;
extern bool gl_EXT_blend_minmax;
extern bool gl_EXT_blend_func_separate;
extern bool gl_EXT_blend_color;
extern bool gl_ATI_envmap_bumpmap;
extern bool gl_ATI_fragment_shader;
extern bool gl_ATI_vertex_array_object;
extern bool gl_ATI_element_array;
extern bool gl_ATI_vertex_attrib_array_object;
extern bool gl_ATI_pn_triangles;
extern bool gl_ATI_vertex_streams;
extern bool gl_ATI_separate_stencil;
extern bool gl_ATI_draw_buffers;
extern bool gl_NV_occlusion_query;
extern bool gl_SGIS_multitexture;
extern bool gl_WIN_swap_hint;
extern bool gl_KTX_buffer_region;
extern bool gl_ARB_depth_texture;
extern bool gl_ARB_shadow;
extern bool gl_ARB_shadow_ambient;
extern bool gl_ARB_texture_border_clamp;
extern bool gl_ARB_texture_cube_map;
extern bool gl_ARB_texture_env_add;
extern bool gl_ARB_texture_env_combine;
extern bool gl_ARB_texture_env_crossbar;
extern bool gl_ARB_texture_env_dot3;
extern bool gl_EXT_abgr;
extern bool gl_EXT_bgra;
extern bool gl_EXT_blend_subtract;
extern bool gl_EXT_clip_volume_hint;
extern bool gl_EXT_packed_pixels;
extern bool gl_EXT_rescale_normal;
extern bool gl_EXT_separate_specular_color;
extern bool gl_EXT_texgen_reflection;
extern bool gl_EXT_texture_cube_map;
extern bool gl_EXT_texture_compression_s3tc;
extern bool gl_EXT_texture_edge_clamp;
extern bool gl_EXT_texture_env_add;
extern bool gl_EXT_texture_env_combine;
extern bool gl_EXT_texture_env_dot3;
extern bool gl_EXT_texture_filter_anisotropic;
extern bool gl_EXT_stencil_wrap;
extern bool gl_EXT_texture_rectangle;
extern bool gl_ATI_texture_mirror_once;
extern bool gl_ATI_texture_float;
extern bool gl_ATI_texture_env_combine3;
extern bool gl_ATIX_texture_env_route;
extern bool gl_ATIX_vertex_shader_output_point_size;
extern bool gl_NV_texgen_reflection;
extern bool gl_NV_blend_square;
extern bool gl_HP_occlusion_test;
extern bool gl_S3_s3tc;
extern bool gl_SGI_texture_edge_clamp;
extern bool gl_SGIS_generate_mipmap;
extern bool gl_SGIS_texture_border_clamp;
extern bool gl_SGIS_texture_lod;
extern bool wgl_ARB_extensions_string;
extern bool wgl_EXT_extensions_string;
extern bool wgl_EXT_swap_control;
extern bool wgl_ARB_pixel_format;
extern bool wgl_ARB_make_current_read;
extern bool wgl_ARB_pbuffer;
extern bool wgl_ARB_render_texture;
extern bool wgl_ARB_multisample;
extern bool wgl_ATI_pixel_format_float;
extern bool gl_ARB_framebuffer_object;

// Entry points, null until fetched. The window-system ones are never available here.
extern PFNGLSAMPLECOVERAGEARBPROC glSampleCoverageARB;
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB;
extern PFNGLMULTITEXCOORD1DARBPROC glMultiTexCoord1dARB;
extern PFNGLMULTITEXCOORD1DVARBPROC glMultiTexCoord1dvARB;
extern PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB;
extern PFNGLMULTITEXCOORD1FVARBPROC glMultiTexCoord1fvARB;
extern PFNGLMULTITEXCOORD1IARBPROC glMultiTexCoord1iARB;
extern PFNGLMULTITEXCOORD1IVARBPROC glMultiTexCoord1ivARB;
extern PFNGLMULTITEXCOORD1SARBPROC glMultiTexCoord1sARB;
extern PFNGLMULTITEXCOORD1SVARBPROC glMultiTexCoord1svARB;
extern PFNGLMULTITEXCOORD2DARBPROC glMultiTexCoord2dARB;
extern PFNGLMULTITEXCOORD2DVARBPROC glMultiTexCoord2dvARB;
extern PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB;
extern PFNGLMULTITEXCOORD2FVARBPROC glMultiTexCoord2fvARB;
extern PFNGLMULTITEXCOORD2IARBPROC glMultiTexCoord2iARB;
extern PFNGLMULTITEXCOORD2IVARBPROC glMultiTexCoord2ivARB;
extern PFNGLMULTITEXCOORD2SARBPROC glMultiTexCoord2sARB;
extern PFNGLMULTITEXCOORD2SVARBPROC glMultiTexCoord2svARB;
extern PFNGLMULTITEXCOORD3DARBPROC glMultiTexCoord3dARB;
extern PFNGLMULTITEXCOORD3DVARBPROC glMultiTexCoord3dvARB;
extern PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB;
extern PFNGLMULTITEXCOORD3FVARBPROC glMultiTexCoord3fvARB;
extern PFNGLMULTITEXCOORD3IARBPROC glMultiTexCoord3iARB;
extern PFNGLMULTITEXCOORD3IVARBPROC glMultiTexCoord3ivARB;
extern PFNGLMULTITEXCOORD3SARBPROC glMultiTexCoord3sARB;
extern PFNGLMULTITEXCOORD3SVARBPROC glMultiTexCoord3svARB;
extern PFNGLMULTITEXCOORD4DARBPROC glMultiTexCoord4dARB;
extern PFNGLMULTITEXCOORD4DVARBPROC glMultiTexCoord4dvARB;
extern PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB;
extern PFNGLMULTITEXCOORD4FVARBPROC glMultiTexCoord4fvARB;
extern PFNGLMULTITEXCOORD4IARBPROC glMultiTexCoord4iARB;
extern PFNGLMULTITEXCOORD4IVARBPROC glMultiTexCoord4ivARB;
extern PFNGLMULTITEXCOORD4SARBPROC glMultiTexCoord4sARB;
extern PFNGLMULTITEXCOORD4SVARBPROC glMultiTexCoord4svARB;
extern PFNGLCOMPRESSEDTEXIMAGE3DARBPROC glCompressedTexImage3DARB;
extern PFNGLCOMPRESSEDTEXIMAGE2DARBPROC glCompressedTexImage2DARB;
extern PFNGLCOMPRESSEDTEXIMAGE1DARBPROC glCompressedTexImage1DARB;
extern PFNGLCOMPRESSEDTEXSUBIMAGE3DARBPROC glCompressedTexSubImage3DARB;
extern PFNGLCOMPRESSEDTEXSUBIMAGE2DARBPROC glCompressedTexSubImage2DARB;
extern PFNGLCOMPRESSEDTEXSUBIMAGE1DARBPROC glCompressedTexSubImage1DARB;
extern PFNGLGETCOMPRESSEDTEXIMAGEARBPROC glGetCompressedTexImageARB;
extern PFNGLLOADTRANSPOSEMATRIXFARBPROC glLoadTransposeMatrixfARB;
extern PFNGLLOADTRANSPOSEMATRIXDARBPROC glLoadTransposeMatrixdARB;
extern PFNGLMULTTRANSPOSEMATRIXFARBPROC glMultTransposeMatrixfARB;
extern PFNGLMULTTRANSPOSEMATRIXDARBPROC glMultTransposeMatrixdARB;
extern PFNGLLOCKARRAYSEXTPROC glLockArraysEXT;
extern PFNGLUNLOCKARRAYSEXTPROC glUnlockArraysEXT;
extern PFNGLDRAWRANGEELEMENTSEXTPROC glDrawRangeElementsEXT;
extern PFNGLTEXIMAGE3DEXTPROC glTexImage3DEXT;
extern PFNGLTEXSUBIMAGE3DEXTPROC glTexSubImage3DEXT;
extern PFNGLPOINTPARAMETERFEXTPROC glPointParameterfEXT;
extern PFNGLPOINTPARAMETERFVEXTPROC glPointParameterfvEXT;
extern PFNGLPOINTPARAMETERFARBPROC glPointParameterfARB;
extern PFNGLPOINTPARAMETERFVARBPROC glPointParameterfvARB;
extern PFNGLBINDVERTEXSHADEREXTPROC glBindVertexShaderEXT;
extern PFNGLDELETEVERTEXSHADEREXTPROC glDeleteVertexShaderEXT;
extern PFNGLBLENDEQUATIONEXTPROC glBlendEquationEXT;
extern PFNGLBLENDFUNCSEPARATEEXTPROC glBlendFuncSeparateEXT;
extern PFNGLBLENDCOLOREXTPROC glBlendColorEXT;
extern PFNGLBINDFRAGMENTSHADERATIPROC glBindFragmentShaderATI;
extern PFNGLDELETEFRAGMENTSHADERATIPROC glDeleteFragmentShaderATI;
extern PFNGLGENFRAMEBUFFERSPROC glGenFramebuffers;
extern PFNGLDELETEFRAMEBUFFERSPROC glDeleteFramebuffers;
extern PFNGLBINDFRAMEBUFFERPROC glBindFramebuffer;
extern PFNGLFRAMEBUFFERTEXTURE2DPROC glFramebufferTexture2D;
extern PFNGLGENRENDERBUFFERSPROC glGenRenderbuffers;
extern PFNGLDELETERENDERBUFFERSPROC glDeleteRenderbuffers;
extern PFNGLBINDRENDERBUFFERPROC glBindRenderbuffer;
extern PFNGLRENDERBUFFERSTORAGEPROC glRenderbufferStorage;
extern PFNGLFRAMEBUFFERRENDERBUFFERPROC glFramebufferRenderbuffer;
extern PFNGLCHECKFRAMEBUFFERSTATUSPROC glCheckFramebufferStatus;
extern PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC glRenderbufferStorageMultisample;
extern PFNGLBLITFRAMEBUFFERPROC glBlitFramebuffer;

} // namespace ext

// The extensions the show requires: render targets are framebuffer objects here.
inline constexpr const char* kRequiredExtensions = "GL_ARB_framebuffer_object";
// The 46 names logged at start-up, in log order.
extern const char* const kLoggedExtensions;

// Whole-word search of `name` in a blank-separated list.
bool hasExtension(const char* list, const char* name);
// Checks one extension against the driver's strings, fetches its entry points and sets its flag.
bool initExtension(const char* name);
// The logged list through initExtension, one "%-32s\tSUCCESS"/"FAILED" line each, in a section
// "Extensions".
void logExtensions();
// initExtension for every blank-separated name of `list`; true when all succeeded, else false
// with the missing names in `missing` (blank-separated).
bool initExtensions(const char* list, std::string* missing = nullptr);
