/*
 * qvsip.h - public C interface of the vector and matrix signal-processing library libqvsip.
 */
#ifndef QVSIP_H
#define QVSIP_H

#include <stdarg.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Every export is declared once, here: the library's definitions take their C linkage and their
 * visibility from these declarations. */
#if defined(QVSIP_BUILDING)
#define QVSIP_API __attribute__((visibility("default")))
#else
#define QVSIP_API
#endif

/* ==========================================================================================
 * Scalar and index types
 *
 * Offsets, strides and lengths count elements of the block, never bytes.
 * ========================================================================================== */

typedef float vsip_scalar_f;
typedef struct vsip_cscalar_f {
    float r, i;
} vsip_cscalar_f;
typedef int32_t vsip_scalar_i;
typedef int32_t vsip_scalar_bl; /* 0 is false, any other value true */
typedef uint64_t vsip_length;
typedef uint64_t vsip_offset;
typedef uint64_t vsip_index;
typedef int64_t vsip_stride;
/* Vector and matrix indices (row r, column c). */
typedef vsip_index vsip_scalar_vi;
typedef struct vsip_scalar_mi {
    vsip_scalar_vi r, c;
} vsip_scalar_mi;

#define VSIP_FALSE 0
#define VSIP_TRUE 1

/* Stored with a block and returned unchanged; the library does not interpret it. */
typedef enum vsip_memory_hint {
    VSIP_MEM_NONE = 0,
    VSIP_MEM_RDONLY = 1,
    VSIP_MEM_CONST = 2,
    VSIP_MEM_SHARED = 3,
    VSIP_MEM_SHARED_RDONLY = 4,
    VSIP_MEM_SHARED_CONST = 5
} vsip_memory_hint;

typedef enum vsip_major { VSIP_ROW = 0, VSIP_COL = 1 } vsip_major;
typedef enum vsip_fft_dir { VSIP_FFT_FWD = -1, VSIP_FFT_INV = 1 } vsip_fft_dir;
typedef enum vsip_alg_hint {
    VSIP_ALG_TIME = 0,
    VSIP_ALG_SPACE = 1,
    VSIP_ALG_NOISE = 2
} vsip_alg_hint;

/* Opaque objects, created and released only by the library. */
typedef struct vsip_block_f_s vsip_block_f;
typedef struct vsip_block_i_s vsip_block_i;
typedef struct vsip_block_bl_s vsip_block_bl;
typedef struct vsip_cblock_f_s vsip_cblock_f;
typedef struct vsip_vview_f_s vsip_vview_f;
typedef struct vsip_vview_i_s vsip_vview_i;
typedef struct vsip_vview_bl_s vsip_vview_bl;
typedef struct vsip_cvview_f_s vsip_cvview_f;
typedef struct vsip_mview_f_s vsip_mview_f;
typedef struct vsip_cmview_f_s vsip_cmview_f;
typedef struct vsip_fft_f_s vsip_fft_f;

/* View attributes as the attribute gets and puts exchange them. */
typedef struct vsip_vattr_f {
    vsip_offset offset;
    vsip_stride stride;
    vsip_length length;
    vsip_block_f* block;
} vsip_vattr_f;
typedef struct vsip_vattr_i {
    vsip_offset offset;
    vsip_stride stride;
    vsip_length length;
    vsip_block_i* block;
} vsip_vattr_i;
typedef struct vsip_vattr_bl {
    vsip_offset offset;
    vsip_stride stride;
    vsip_length length;
    vsip_block_bl* block;
} vsip_vattr_bl;
typedef struct vsip_cvattr_f {
    vsip_offset offset;
    vsip_stride stride;
    vsip_length length;
    vsip_cblock_f* block;
} vsip_cvattr_f;
typedef struct vsip_mattr_f {
    vsip_offset offset;
    vsip_stride col_stride;
    vsip_length col_length;
    vsip_stride row_stride;
    vsip_length row_length;
    vsip_block_f* block;
} vsip_mattr_f;
typedef struct vsip_cmattr_f {
    vsip_offset offset;
    vsip_stride col_stride;
    vsip_length col_length;
    vsip_stride row_stride;
    vsip_length row_length;
    vsip_cblock_f* block;
} vsip_cmattr_f;

/* ==========================================================================================
 * Library control
 *
 * The library sets itself up when it is loaded: the thread count comes from OMP_NUM_THREADS
 * (1 when it is unset or 10 or more characters long). A count of 1 runs every operation on
 * the calling thread; any other count runs OpenMP parallel regions, 0 or less meaning the
 * OpenMP runtime's default team size.
 * ========================================================================================== */

#define QVSIP_VERSION_FIELD_SIZE 100

typedef struct QvsipVersionInfo {
    char componentName[QVSIP_VERSION_FIELD_SIZE];
    char componentVersion[QVSIP_VERSION_FIELD_SIZE];
} QvsipVersionInfo;

/* Sets the thread count and writes it to OMP_NUM_THREADS (as " <count>"). Returns 0, or -1
 * with nothing changed when threadNum is not positive, does not fit in 8 digits or the
 * environment cannot be written. */
QVSIP_API int QVSIP_SetOmpThreadNum(int threadNum);
QVSIP_API int QVSIP_GetOmpThreadNum(void);

/* Fills info with the component name and version and returns 0; returns 1 when info is null. */
QVSIP_API int QVSIP_GetProductVersion(QvsipVersionInfo* info);

/* Open and close a use of the library. Calls are counted: each vsip_init opens one use and each
 * vsip_finalize closes one; a vsip_finalize with no use open does nothing. Both return 0, and
 * the library works with or without them. */
QVSIP_API int vsip_init(void* ptr);
QVSIP_API int vsip_finalize(void* ptr);

/* ==========================================================================================
 * Blocks
 *
 * A block wraps a caller-owned array and never copies or frees it. Binding fails (null) for
 * a null array, for a length whose array would not fit in the address space, or when memory
 * runs out. A complex block keeps its values interleaved in one array (second array null) or
 * split into a real and an imaginary array.
 * ========================================================================================== */

QVSIP_API vsip_block_f* vsip_blockbind_f(vsip_scalar_f* data, vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_block_i* vsip_blockbind_i(vsip_scalar_i* data, vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_block_bl* vsip_blockbind_bl(vsip_scalar_bl* data, vsip_length N,
                                           vsip_memory_hint hint);
QVSIP_API vsip_cblock_f* vsip_cblockbind_f(vsip_scalar_f* data1, vsip_scalar_f* data2,
                                           vsip_length N, vsip_memory_hint hint);

/* Admission returns 0 on success (and for a null block), 1 for a block that cannot be admitted
 * on its own: the component of a complex block. The update flag is not used. */
QVSIP_API int vsip_blockadmit_f(vsip_block_f* block, vsip_scalar_bl update);
QVSIP_API int vsip_blockadmit_i(vsip_block_i* block, vsip_scalar_bl update);
QVSIP_API int vsip_blockadmit_bl(vsip_block_bl* block, vsip_scalar_bl update);
QVSIP_API int vsip_cblockadmit_f(vsip_cblock_f* block, vsip_scalar_bl update);

/* Destroying null does nothing; so does destroying a component of a complex block, which goes
 * with its complex block. Destroy a block only after every view bound on it. */
QVSIP_API void vsip_blockdestroy_f(vsip_block_f* block);
QVSIP_API void vsip_blockdestroy_i(vsip_block_i* block);
QVSIP_API void vsip_blockdestroy_bl(vsip_block_bl* block);
QVSIP_API void vsip_cblockdestroy_f(vsip_cblock_f* block);

/* Blocks on storage the library allocates (contents undefined until written), admitted from the
 * start; complex ones are interleaved. Creation fails (null) for a length whose storage would
 * not fit in the address space or when memory runs out. The destroys above free the storage. */
QVSIP_API vsip_block_f* vsip_blockcreate_f(vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_block_i* vsip_blockcreate_i(vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_block_bl* vsip_blockcreate_bl(vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_cblock_f* vsip_cblockcreate_f(vsip_length N, vsip_memory_hint hint);

/* Release takes a bound block out of admission and returns its user array(s): for a complex
 * block the interleaved array and null, or the real and the imaginary array. A null block, a
 * created block and a component of a complex block have no user array: null, nothing changed.
 * The update flag is not used. */
QVSIP_API vsip_scalar_f* vsip_blockrelease_f(vsip_block_f* block, vsip_scalar_bl update);
QVSIP_API vsip_scalar_i* vsip_blockrelease_i(vsip_block_i* block, vsip_scalar_bl update);
QVSIP_API vsip_scalar_bl* vsip_blockrelease_bl(vsip_block_bl* block, vsip_scalar_bl update);
QVSIP_API void vsip_cblockrelease_f(vsip_cblock_f* block, vsip_scalar_bl update,
                                    vsip_scalar_f** data1, vsip_scalar_f** data2);

/* Rebind puts new user arrays under a released bound block and returns the previous ones (a
 * complex block may change between interleaved, data2 null, and split storage). Null, with
 * nothing changed, for an admitted block, a block without a user array or a null array. */
QVSIP_API vsip_scalar_f* vsip_blockrebind_f(vsip_block_f* block, vsip_scalar_f* data);
QVSIP_API void vsip_cblockrebind_f(vsip_cblock_f* block, vsip_scalar_f* data1, vsip_scalar_f* data2,
                                   vsip_scalar_f** old_data1, vsip_scalar_f** old_data2);

/* The user array(s) of a block, as release gives them, without changing its state. */
QVSIP_API vsip_scalar_f* vsip_blockfind_f(const vsip_block_f* block);
QVSIP_API void vsip_cblockfind_f(const vsip_cblock_f* block, vsip_scalar_f** data1,
                                 vsip_scalar_f** data2);

/* ==========================================================================================
 * Views
 *
 * Vector element i is block element offset + i * stride; matrix element (r, c) is block
 * element offset + r * col_stride + c * row_stride (row_stride steps along a row, col_stride
 * from one row to the next). Binding fails (null) for a null block, when an element of a
 * non-empty view would lie outside the block, or when memory runs out.
 * ========================================================================================== */

QVSIP_API vsip_vview_f* vsip_vbind_f(const vsip_block_f* block, vsip_offset offset,
                                     vsip_stride stride, vsip_length length);
QVSIP_API vsip_vview_i* vsip_vbind_i(const vsip_block_i* block, vsip_offset offset,
                                     vsip_stride stride, vsip_length length);
QVSIP_API vsip_vview_bl* vsip_vbind_bl(const vsip_block_bl* block, vsip_offset offset,
                                       vsip_stride stride, vsip_length length);
QVSIP_API vsip_cvview_f* vsip_cvbind_f(const vsip_cblock_f* block, vsip_offset offset,
                                       vsip_stride stride, vsip_length length);
QVSIP_API vsip_mview_f* vsip_mbind_f(const vsip_block_f* block, vsip_offset offset,
                                     vsip_stride col_stride, vsip_length col_length,
                                     vsip_stride row_stride, vsip_length row_length);
QVSIP_API vsip_cmview_f* vsip_cmbind_f(const vsip_cblock_f* block, vsip_offset offset,
                                       vsip_stride col_stride, vsip_length col_length,
                                       vsip_stride row_stride, vsip_length row_length);

/* Release the view and return its block (null for a null view). */
QVSIP_API vsip_block_f* vsip_vdestroy_f(vsip_vview_f* view);
QVSIP_API vsip_block_i* vsip_vdestroy_i(vsip_vview_i* view);
QVSIP_API vsip_block_bl* vsip_vdestroy_bl(vsip_vview_bl* view);
QVSIP_API vsip_cblock_f* vsip_cvdestroy_f(vsip_cvview_f* view);
QVSIP_API vsip_block_f* vsip_mdestroy_f(vsip_mview_f* view);
QVSIP_API vsip_cblock_f* vsip_cmdestroy_f(vsip_cmview_f* view);

/* Release the view, then its block by the block rules above. */
QVSIP_API void vsip_valldestroy_f(vsip_vview_f* view);
QVSIP_API void vsip_valldestroy_i(vsip_vview_i* view);
QVSIP_API void vsip_valldestroy_bl(vsip_vview_bl* view);
QVSIP_API void vsip_cvalldestroy_f(vsip_cvview_f* view);
QVSIP_API void vsip_malldestroy_f(vsip_mview_f* view);
QVSIP_API void vsip_cmalldestroy_f(vsip_cmview_f* view);

/* A view of length N (an M x N matrix, row-major for VSIP_ROW, column-major otherwise) over a
 * block created for it, which its alldestroy frees. Null when either create fails or M x N
 * overflows, with nothing left allocated. */
QVSIP_API vsip_vview_f* vsip_vcreate_f(vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_vview_i* vsip_vcreate_i(vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_vview_bl* vsip_vcreate_bl(vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_cvview_f* vsip_cvcreate_f(vsip_length N, vsip_memory_hint hint);
QVSIP_API vsip_mview_f* vsip_mcreate_f(vsip_length M, vsip_length N, vsip_major major,
                                       vsip_memory_hint hint);
QVSIP_API vsip_cmview_f* vsip_cmcreate_f(vsip_length M, vsip_length N, vsip_major major,
                                         vsip_memory_hint hint);

/* Element i of the view; NaN (both parts for a complex view) for a null view or an index not
 * below the view's length. */
QVSIP_API vsip_scalar_f vsip_vget_f(const vsip_vview_f* view, vsip_index i);
QVSIP_API vsip_cscalar_f vsip_cvget_f(const vsip_cvview_f* view, vsip_index i);

/* Element (i, j) is row i, column j. Gets return NaN (real and complex views) or 0 (integer and
 * boolean views) for a null view or an index outside it; puts then do nothing. */
QVSIP_API vsip_scalar_f vsip_mget_f(const vsip_mview_f* view, vsip_index i, vsip_index j);
QVSIP_API vsip_cscalar_f vsip_cmget_f(const vsip_cmview_f* view, vsip_index i, vsip_index j);
QVSIP_API vsip_scalar_i vsip_vget_i(const vsip_vview_i* view, vsip_index i);
QVSIP_API vsip_scalar_bl vsip_vget_bl(const vsip_vview_bl* view, vsip_index i);
QVSIP_API void vsip_vput_f(const vsip_vview_f* view, vsip_index i, vsip_scalar_f value);
QVSIP_API void vsip_cvput_f(const vsip_cvview_f* view, vsip_index i, vsip_cscalar_f value);
QVSIP_API void vsip_mput_f(const vsip_mview_f* view, vsip_index i, vsip_index j,
                           vsip_scalar_f value);
QVSIP_API void vsip_cmput_f(const vsip_cmview_f* view, vsip_index i, vsip_index j,
                            vsip_cscalar_f value);
QVSIP_API void vsip_vput_i(const vsip_vview_i* view, vsip_index i, vsip_scalar_i value);
QVSIP_API void vsip_vput_bl(const vsip_vview_bl* view, vsip_index i, vsip_scalar_bl value);

/* View attributes. Gets of a null view return 0 (a null block) and leave an attribute record
 * unwritten, as they do for a null record. A put changes the view only when every element it
 * then reaches lies in its block, and returns it; otherwise (also for a null view or record) it
 * returns null with the view unchanged. A put never changes the block: the block member of an
 * attribute record is ignored. */
QVSIP_API vsip_length vsip_vgetlength_f(const vsip_vview_f* view);
QVSIP_API vsip_stride vsip_vgetstride_f(const vsip_vview_f* view);
QVSIP_API vsip_offset vsip_vgetoffset_f(const vsip_vview_f* view);
QVSIP_API vsip_block_f* vsip_vgetblock_f(const vsip_vview_f* view);
QVSIP_API void vsip_vgetattrib_f(const vsip_vview_f* view, vsip_vattr_f* attr);
QVSIP_API vsip_vview_f* vsip_vputlength_f(vsip_vview_f* view, vsip_length length);
QVSIP_API vsip_vview_f* vsip_vputstride_f(vsip_vview_f* view, vsip_stride stride);
QVSIP_API vsip_vview_f* vsip_vputoffset_f(vsip_vview_f* view, vsip_offset offset);
QVSIP_API vsip_vview_f* vsip_vputattrib_f(vsip_vview_f* view, const vsip_vattr_f* attr);

QVSIP_API vsip_length vsip_vgetlength_i(const vsip_vview_i* view);
QVSIP_API vsip_stride vsip_vgetstride_i(const vsip_vview_i* view);
QVSIP_API vsip_offset vsip_vgetoffset_i(const vsip_vview_i* view);
QVSIP_API vsip_block_i* vsip_vgetblock_i(const vsip_vview_i* view);
QVSIP_API void vsip_vgetattrib_i(const vsip_vview_i* view, vsip_vattr_i* attr);
QVSIP_API vsip_vview_i* vsip_vputlength_i(vsip_vview_i* view, vsip_length length);
QVSIP_API vsip_vview_i* vsip_vputstride_i(vsip_vview_i* view, vsip_stride stride);
QVSIP_API vsip_vview_i* vsip_vputoffset_i(vsip_vview_i* view, vsip_offset offset);
QVSIP_API vsip_vview_i* vsip_vputattrib_i(vsip_vview_i* view, const vsip_vattr_i* attr);

QVSIP_API vsip_length vsip_vgetlength_bl(const vsip_vview_bl* view);
QVSIP_API vsip_stride vsip_vgetstride_bl(const vsip_vview_bl* view);
QVSIP_API vsip_offset vsip_vgetoffset_bl(const vsip_vview_bl* view);
QVSIP_API vsip_block_bl* vsip_vgetblock_bl(const vsip_vview_bl* view);
QVSIP_API void vsip_vgetattrib_bl(const vsip_vview_bl* view, vsip_vattr_bl* attr);
QVSIP_API vsip_vview_bl* vsip_vputlength_bl(vsip_vview_bl* view, vsip_length length);
QVSIP_API vsip_vview_bl* vsip_vputstride_bl(vsip_vview_bl* view, vsip_stride stride);
QVSIP_API vsip_vview_bl* vsip_vputoffset_bl(vsip_vview_bl* view, vsip_offset offset);
QVSIP_API vsip_vview_bl* vsip_vputattrib_bl(vsip_vview_bl* view, const vsip_vattr_bl* attr);

QVSIP_API vsip_length vsip_cvgetlength_f(const vsip_cvview_f* view);
QVSIP_API vsip_stride vsip_cvgetstride_f(const vsip_cvview_f* view);
QVSIP_API vsip_offset vsip_cvgetoffset_f(const vsip_cvview_f* view);
QVSIP_API vsip_cblock_f* vsip_cvgetblock_f(const vsip_cvview_f* view);
QVSIP_API void vsip_cvgetattrib_f(const vsip_cvview_f* view, vsip_cvattr_f* attr);
QVSIP_API vsip_cvview_f* vsip_cvputlength_f(vsip_cvview_f* view, vsip_length length);
QVSIP_API vsip_cvview_f* vsip_cvputstride_f(vsip_cvview_f* view, vsip_stride stride);
QVSIP_API vsip_cvview_f* vsip_cvputoffset_f(vsip_cvview_f* view, vsip_offset offset);
QVSIP_API vsip_cvview_f* vsip_cvputattrib_f(vsip_cvview_f* view, const vsip_cvattr_f* attr);

QVSIP_API vsip_length vsip_mgetcollength_f(const vsip_mview_f* view);
QVSIP_API vsip_length vsip_mgetrowlength_f(const vsip_mview_f* view);
QVSIP_API vsip_stride vsip_mgetcolstride_f(const vsip_mview_f* view);
QVSIP_API vsip_stride vsip_mgetrowstride_f(const vsip_mview_f* view);
QVSIP_API vsip_offset vsip_mgetoffset_f(const vsip_mview_f* view);
QVSIP_API vsip_block_f* vsip_mgetblock_f(const vsip_mview_f* view);
QVSIP_API void vsip_mgetattrib_f(const vsip_mview_f* view, vsip_mattr_f* attr);
QVSIP_API vsip_mview_f* vsip_mputcollength_f(vsip_mview_f* view, vsip_length col_length);
QVSIP_API vsip_mview_f* vsip_mputrowlength_f(vsip_mview_f* view, vsip_length row_length);
QVSIP_API vsip_mview_f* vsip_mputcolstride_f(vsip_mview_f* view, vsip_stride col_stride);
QVSIP_API vsip_mview_f* vsip_mputrowstride_f(vsip_mview_f* view, vsip_stride row_stride);
QVSIP_API vsip_mview_f* vsip_mputoffset_f(vsip_mview_f* view, vsip_offset offset);
QVSIP_API vsip_mview_f* vsip_mputattrib_f(vsip_mview_f* view, const vsip_mattr_f* attr);

QVSIP_API vsip_length vsip_cmgetcollength_f(const vsip_cmview_f* view);
QVSIP_API vsip_length vsip_cmgetrowlength_f(const vsip_cmview_f* view);
QVSIP_API vsip_stride vsip_cmgetcolstride_f(const vsip_cmview_f* view);
QVSIP_API vsip_stride vsip_cmgetrowstride_f(const vsip_cmview_f* view);
QVSIP_API vsip_offset vsip_cmgetoffset_f(const vsip_cmview_f* view);
QVSIP_API vsip_cblock_f* vsip_cmgetblock_f(const vsip_cmview_f* view);
QVSIP_API void vsip_cmgetattrib_f(const vsip_cmview_f* view, vsip_cmattr_f* attr);
QVSIP_API vsip_cmview_f* vsip_cmputcollength_f(vsip_cmview_f* view, vsip_length col_length);
QVSIP_API vsip_cmview_f* vsip_cmputrowlength_f(vsip_cmview_f* view, vsip_length row_length);
QVSIP_API vsip_cmview_f* vsip_cmputcolstride_f(vsip_cmview_f* view, vsip_stride col_stride);
QVSIP_API vsip_cmview_f* vsip_cmputrowstride_f(vsip_cmview_f* view, vsip_stride row_stride);
QVSIP_API vsip_cmview_f* vsip_cmputoffset_f(vsip_cmview_f* view, vsip_offset offset);
QVSIP_API vsip_cmview_f* vsip_cmputattrib_f(vsip_cmview_f* view, const vsip_cmattr_f* attr);

/* Views derived from a view, over the same block: destroying one leaves the parent alone.
 * Subviews start at element i (row i, column j) and must lie within the parent; row i, column
 * j and diagonal idiag (0 the main one, k > 0 starting in column k, -k in row k) likewise. The
 * real and imaginary views of a complex view are real views of its block's components; an
 * alldestroy of one leaves the complex block in place. Clones copy the view, transposes swap
 * rows and columns. Null for a null view, a part outside the view, or when memory runs out. */
QVSIP_API vsip_vview_f* vsip_vsubview_f(const vsip_vview_f* view, vsip_index i, vsip_length n);
QVSIP_API vsip_cvview_f* vsip_cvsubview_f(const vsip_cvview_f* view, vsip_index i, vsip_length n);
QVSIP_API vsip_mview_f* vsip_msubview_f(const vsip_mview_f* view, vsip_index i, vsip_index j,
                                        vsip_length M, vsip_length N);
QVSIP_API vsip_cmview_f* vsip_cmsubview_f(const vsip_cmview_f* view, vsip_index i, vsip_index j,
                                          vsip_length M, vsip_length N);
QVSIP_API vsip_vview_f* vsip_mrowview_f(const vsip_mview_f* view, vsip_index i);
QVSIP_API vsip_vview_f* vsip_mcolview_f(const vsip_mview_f* view, vsip_index j);
QVSIP_API vsip_vview_f* vsip_mdiagview_f(const vsip_mview_f* view, vsip_stride idiag);
QVSIP_API vsip_cvview_f* vsip_cmrowview_f(const vsip_cmview_f* view, vsip_index i);
QVSIP_API vsip_cvview_f* vsip_cmcolview_f(const vsip_cmview_f* view, vsip_index j);
QVSIP_API vsip_cvview_f* vsip_cmdiagview_f(const vsip_cmview_f* view, vsip_stride idiag);
QVSIP_API vsip_vview_f* vsip_cvrealview_f(const vsip_cvview_f* view);
QVSIP_API vsip_vview_f* vsip_cvimagview_f(const vsip_cvview_f* view);
QVSIP_API vsip_mview_f* vsip_cmrealview_f(const vsip_cmview_f* view);
QVSIP_API vsip_mview_f* vsip_cmimagview_f(const vsip_cmview_f* view);
QVSIP_API vsip_vview_f* vsip_vcloneview_f(const vsip_vview_f* view);
QVSIP_API vsip_cvview_f* vsip_cvcloneview_f(const vsip_cvview_f* view);
QVSIP_API vsip_mview_f* vsip_mcloneview_f(const vsip_mview_f* view);
QVSIP_API vsip_cmview_f* vsip_cmcloneview_f(const vsip_cmview_f* view);
QVSIP_API vsip_mview_f* vsip_mtransview_f(const vsip_mview_f* view);
QVSIP_API vsip_cmview_f* vsip_cmtransview_f(const vsip_cmview_f* view);

QVSIP_API vsip_cscalar_f vsip_cmplx_f(vsip_scalar_f re, vsip_scalar_f im);

/* ==========================================================================================
 * Element-wise operations
 *
 * Each output element is computed from the inputs at the same position. The element count is
 * the smallest length among the vector arguments (for matrices: the smallest row length and
 * the smallest column length); the rest of a longer output is left untouched. An output may be
 * the same view as an input. A null argument returns at once.
 * ========================================================================================== */

QVSIP_API void vsip_vneg_f(const vsip_vview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_vrecip_f(const vsip_vview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_vfill_f(vsip_scalar_f alpha, const vsip_vview_f* r);
QVSIP_API void vsip_svadd_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_svmul_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_vam_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* c,
                          const vsip_vview_f* r);
QVSIP_API void vsip_vma_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* c,
                          const vsip_vview_f* r);
QVSIP_API void vsip_vmsa_f(const vsip_vview_f* a, const vsip_vview_f* b, vsip_scalar_f beta,
                           const vsip_vview_f* r);
QVSIP_API void vsip_vmax_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_vlge_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r);
QVSIP_API void vsip_vlgt_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r);
QVSIP_API void vsip_vllt_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_bl* r);
QVSIP_API void vsip_vceil_f_i(const vsip_vview_f* a, const vsip_vview_i* r);
QVSIP_API void vsip_vcopy_i_f(const vsip_vview_i* a, const vsip_vview_f* r);
QVSIP_API void vsip_vnot_i(const vsip_vview_i* a, const vsip_vview_i* r);
QVSIP_API void vsip_vand_bl(const vsip_vview_bl* a, const vsip_vview_bl* b,
                            const vsip_vview_bl* r);

QVSIP_API void vsip_cvadd_f(const vsip_cvview_f* a, const vsip_cvview_f* b,
                            const vsip_cvview_f* r);
QVSIP_API void vsip_cvsub_f(const vsip_cvview_f* a, const vsip_cvview_f* b,
                            const vsip_cvview_f* r);
QVSIP_API void vsip_cvmul_f(const vsip_cvview_f* a, const vsip_cvview_f* b,
                            const vsip_cvview_f* r);
QVSIP_API void vsip_cvdiv_f(const vsip_cvview_f* a, const vsip_cvview_f* b,
                            const vsip_cvview_f* r);
QVSIP_API void vsip_csvmul_f(vsip_cscalar_f alpha, const vsip_cvview_f* b, const vsip_cvview_f* r);
QVSIP_API void vsip_rscvmul_f(vsip_scalar_f alpha, const vsip_cvview_f* b, const vsip_cvview_f* r);
QVSIP_API void vsip_cvconj_f(const vsip_cvview_f* a, const vsip_cvview_f* r);
QVSIP_API void vsip_cvcopy_f_f(const vsip_cvview_f* a, const vsip_cvview_f* r);
QVSIP_API void vsip_cvmag_f(const vsip_cvview_f* a, const vsip_vview_f* r);

QVSIP_API void vsip_cmadd_f(const vsip_cmview_f* A, const vsip_cmview_f* B,
                            const vsip_cmview_f* R);
QVSIP_API void vsip_cmconj_f(const vsip_cmview_f* A, const vsip_cmview_f* R);
QVSIP_API void vsip_cmcopy_f_f(const vsip_cmview_f* A, const vsip_cmview_f* R);
QVSIP_API void vsip_cmfill_f(vsip_cscalar_f alpha, const vsip_cmview_f* R);
QVSIP_API void vsip_cmmag_f(const vsip_cmview_f* A, const vsip_mview_f* R);
QVSIP_API void vsip_mrecip_f(const vsip_mview_f* A, const vsip_mview_f* R);
/* major VSIP_ROW multiplies every row of B by a, any other value every column. */
QVSIP_API void vsip_cvmmul_f(const vsip_cvview_f* a, const vsip_cmview_f* B, vsip_major major,
                             const vsip_cmview_f* R);
QVSIP_API void vsip_rvcmmul_f(const vsip_vview_f* a, const vsip_cmview_f* B, vsip_major major,
                              const vsip_cmview_f* R);

/* ------------------------------------------------------------------------------------------
 * Common arithmetic, scalar, copy and conversion operations (element-wise, as above)
 * ------------------------------------------------------------------------------------------ */

/* r = a + b, a - b, a * b, a / b (correctly rounded), |a|, a * a. */
QVSIP_API void vsip_vadd_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_vsub_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_vmul_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_vdiv_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_vmag_f(const vsip_vview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_vsq_f(const vsip_vview_f* a, const vsip_vview_f* r);
/* r = a * beta + c, rounded once. */
QVSIP_API void vsip_vsma_f(const vsip_vview_f* a, vsip_scalar_f beta, const vsip_vview_f* c,
                           const vsip_vview_f* r);
/* r = alpha - b and r = alpha / b. */
QVSIP_API void vsip_svsub_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_svdiv_f(vsip_scalar_f alpha, const vsip_vview_f* b, const vsip_vview_f* r);
QVSIP_API void vsip_vcopy_f_f(const vsip_vview_f* a, const vsip_vview_f* r);
/* r[i] = alpha + i * beta, rounded once (i is exact as a float up to 2^24). */
QVSIP_API void vsip_vramp_f(vsip_scalar_f alpha, vsip_scalar_f beta, const vsip_vview_f* r);
/* r = c1 where a <= t1, c2 where a >= t2, a elsewhere (a NaN is copied). */
QVSIP_API void vsip_vclip_f(const vsip_vview_f* a, vsip_scalar_f t1, vsip_scalar_f t2,
                            vsip_scalar_f c1, vsip_scalar_f c2, const vsip_vview_f* r);
/* r = the larger of |a| and |b|. */
QVSIP_API void vsip_vmaxmg_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r);
/* Exchanges the first n elements of a and b, n the shorter length. */
QVSIP_API void vsip_vswap_f(const vsip_vview_f* a, const vsip_vview_f* b);

/* r = e^a, ln a and atan2(a, b) (in [-pi, pi]). */
QVSIP_API void vsip_vexp_f(const vsip_vview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_vlog_f(const vsip_vview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_vatan2_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_vview_f* r);

/* r = a conj(b). */
QVSIP_API void vsip_cvjmul_f(const vsip_cvview_f* a, const vsip_cvview_f* b,
                             const vsip_cvview_f* r);
/* r = |a|^2 = re^2 + im^2. */
QVSIP_API void vsip_cvmagsq_f(const vsip_cvview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_cvfill_f(vsip_cscalar_f alpha, const vsip_cvview_f* r);
QVSIP_API void vsip_cvneg_f(const vsip_cvview_f* a, const vsip_cvview_f* r);
/* Principal square root (non-negative real part). */
QVSIP_API void vsip_cvsqrt_f(const vsip_cvview_f* a, const vsip_cvview_f* r);
/* Real a with complex b: r = a b and r = a + b. */
QVSIP_API void vsip_rcvmul_f(const vsip_vview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r);
QVSIP_API void vsip_rcvadd_f(const vsip_vview_f* a, const vsip_cvview_f* b, const vsip_cvview_f* r);
/* r = a + b i. */
QVSIP_API void vsip_vcmplx_f(const vsip_vview_f* a, const vsip_vview_f* b, const vsip_cvview_f* r);
/* The real and the imaginary parts of a. */
QVSIP_API void vsip_vreal_f(const vsip_cvview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_vimag_f(const vsip_cvview_f* a, const vsip_vview_f* r);
/* r = arg a = atan2(im, re). */
QVSIP_API void vsip_varg_f(const vsip_cvview_f* a, const vsip_vview_f* r);
/* Polar form of a: r = |a| and t = arg a; r and t may be the real and imaginary views of a. */
QVSIP_API void vsip_vpolar_f(const vsip_cvview_f* a, const vsip_vview_f* r, const vsip_vview_f* t);
/* Rectangular form: a = r cos t + r sin t i. */
QVSIP_API void vsip_vrect_f(const vsip_vview_f* r, const vsip_vview_f* t, const vsip_cvview_f* a);

/* Matrix forms: R = A + B, A - B, A * B, A / B element by element; complex A - B, A * B and
 * A conj(B) element by element. */
QVSIP_API void vsip_madd_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R);
QVSIP_API void vsip_msub_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R);
QVSIP_API void vsip_mmul_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R);
QVSIP_API void vsip_mdiv_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R);
QVSIP_API void vsip_cmsub_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R);
QVSIP_API void vsip_cmmul_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R);
QVSIP_API void vsip_cmjmul_f(const vsip_cmview_f* A, const vsip_cmview_f* B,
                             const vsip_cmview_f* R);

/* ==========================================================================================
 * Transcendental functions (element-wise, as above)
 * ========================================================================================== */

QVSIP_API void vsip_vsin_f(const vsip_vview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_vcos_f(const vsip_vview_f* a, const vsip_vview_f* r);
/* r[i] = cos(a[i]) + i sin(a[i]). */
QVSIP_API void vsip_veuler_f(const vsip_vview_f* a, const vsip_cvview_f* r);
QVSIP_API void vsip_cvexp_f(const vsip_cvview_f* a, const vsip_cvview_f* r);
QVSIP_API void vsip_vlog10_f(const vsip_vview_f* a, const vsip_vview_f* r);
QVSIP_API void vsip_vsqrt_f(const vsip_vview_f* a, const vsip_vview_f* r);

/* ==========================================================================================
 * Reductions
 *
 * The means return NaN for a null or empty view; the dot products NaN + NaN i for a null view
 * and 0 for no elements; the largest-magnitude searches return NaN, leaving *index unwritten,
 * for a null or empty view or a null index, and otherwise store the lowest index at which the
 * largest value occurs.
 * ========================================================================================== */

QVSIP_API vsip_scalar_f vsip_vmeanval_f(const vsip_vview_f* a);
QVSIP_API vsip_scalar_f vsip_vmeansqval_f(const vsip_vview_f* a);
/* Number of non-zero elements; 0 for a null view. */
QVSIP_API vsip_length vsip_vsumval_bl(const vsip_vview_bl* a);
QVSIP_API vsip_cscalar_f vsip_cvdot_f(const vsip_cvview_f* a, const vsip_cvview_f* b);
/* Sum of a[i] conj(b[i]). */
QVSIP_API vsip_cscalar_f vsip_cvjdot_f(const vsip_cvview_f* a, const vsip_cvview_f* b);
QVSIP_API vsip_scalar_f vsip_vmaxmgval_f(const vsip_vview_f* a, vsip_index* index);
QVSIP_API vsip_scalar_f vsip_vcmaxmgsqval_f(const vsip_cvview_f* a, vsip_index* index);

/* Largest value, smallest value and smallest magnitude, with the lowest index at which it occurs
 * stored through index unless index is null. NaN elements are passed over; the result is NaN,
 * with *index unwritten, for a null or empty view or one holding only NaN. */
QVSIP_API vsip_scalar_f vsip_vmaxval_f(const vsip_vview_f* a, vsip_index* index);
QVSIP_API vsip_scalar_f vsip_vminval_f(const vsip_vview_f* a, vsip_index* index);
QVSIP_API vsip_scalar_f vsip_vminmgval_f(const vsip_vview_f* a, vsip_index* index);
/* Sum of a[i] b[i] and of a[i]^2, accumulated in double: NaN for a null view, 0 for no
 * elements. */
QVSIP_API vsip_scalar_f vsip_vdot_f(const vsip_vview_f* a, const vsip_vview_f* b);
QVSIP_API vsip_scalar_f vsip_vsumsqval_f(const vsip_vview_f* a);

/* ==========================================================================================
 * Windows and random numbers
 *
 * The window creates return a new vector view of length N (released with vsip_valldestroy_f),
 * or null for N = 0, a parameter outside the window's domain or when memory runs out.
 * ========================================================================================== */

/* w[k] = (1 - cos(2 pi (k + 1) / (N + 1))) / 2. */
QVSIP_API vsip_vview_f* vsip_vcreate_hanning_f(vsip_length N, vsip_memory_hint hint);
/* w[k] = 0.42 - 0.5 cos(2 pi k / (N - 1)) + 0.08 cos(4 pi k / (N - 1)); N >= 2. */
QVSIP_API vsip_vview_f* vsip_vcreate_blackman_f(vsip_length N, vsip_memory_hint hint);
/* w[k] = I0(beta sqrt(1 - (2k / (N - 1) - 1)^2)) / I0(beta); |beta| up to 600. */
QVSIP_API vsip_vview_f* vsip_vcreate_kaiser_f(vsip_length N, vsip_scalar_f beta,
                                              vsip_memory_hint hint);
/* Dolph-Chebyshev window, sidelobes ripple dB (> 0) below the main lobe, peak 1. Takes time
 * proportional to N^2. */
QVSIP_API vsip_vview_f* vsip_vcreate_cheby_f(vsip_length N, vsip_scalar_f ripple,
                                             vsip_memory_hint hint);

/* VSIP_PRNG: the portable combined linear congruential generator; VSIP_NPRNG: a faster
 * generator whose sequences are not meant to be reproduced elsewhere. */
typedef enum vsip_rng { VSIP_PRNG = 0, VSIP_NPRNG = 1 } vsip_rng;
typedef struct vsip_randstate_s vsip_randstate;

/* A state for sequence id (1 to numseqs) of numseqs sequences from seed; null for an id outside
 * that range, numseqs above 2^32, an unknown generator or when memory runs out. A state is used
 * by one thread at a time. */
QVSIP_API vsip_randstate* vsip_randcreate(vsip_index seed, vsip_index numseqs, vsip_index id,
                                          vsip_rng portable);
/* Releases the state; returns 0 (also for null). */
QVSIP_API int vsip_randdestroy(vsip_randstate* state);
/* Uniform values in (0, 1); normal values of mean 0 and variance 1 (for complex values 1/2 per
 * part), drawn as sums of uniform values. Complex elements take their real part first. A null
 * state or view does nothing. */
QVSIP_API void vsip_vrandu_f(vsip_randstate* state, const vsip_vview_f* r);
QVSIP_API void vsip_vrandn_f(vsip_randstate* state, const vsip_vview_f* r);
QVSIP_API void vsip_cvrandu_f(vsip_randstate* state, const vsip_cvview_f* r);
QVSIP_API void vsip_cvrandn_f(vsip_randstate* state, const vsip_cvview_f* r);

/* ==========================================================================================
 * Matrix products and transposes (a null argument returns at once)
 * ========================================================================================== */

/* R = A B. R is zeroed first, whatever the sizes. */
QVSIP_API void vsip_cmprod_f(const vsip_cmview_f* A, const vsip_cmview_f* B,
                             const vsip_cmview_f* R);
/* R = A B^H. */
QVSIP_API void vsip_cmprodh_f(const vsip_cmview_f* A, const vsip_cmview_f* B,
                              const vsip_cmview_f* R);
/* R = A^T and R = A^H; in place when A and R are the same square matrix. */
QVSIP_API void vsip_cmtrans_f(const vsip_cmview_f* A, const vsip_cmview_f* R);
QVSIP_API void vsip_cmherm_f(const vsip_cmview_f* A, const vsip_cmview_f* R);

/* ==========================================================================================
 * FFT objects: one-dimensional complex transforms of length N
 *
 * Creation returns null when N is 0 or above 268435455, or when memory or planning fails.
 * Direction VSIP_FFT_FWD (-1) is the forward transform, any other value the inverse; every
 * output element is multiplied by scale (no normalisation otherwise). An object is executed
 * by one thread at a time; views should have length N.
 * ========================================================================================== */

QVSIP_API vsip_fft_f* vsip_ccfftip_create_f(vsip_length N, vsip_scalar_f scale, vsip_fft_dir dir,
                                            vsip_length ntimes, vsip_alg_hint hint);
QVSIP_API vsip_fft_f* vsip_ccfftop_create_f(vsip_length N, vsip_scalar_f scale, vsip_fft_dir dir,
                                            vsip_length ntimes, vsip_alg_hint hint);
QVSIP_API void vsip_ccfftip_f(const vsip_fft_f* fft, const vsip_cvview_f* xy);
QVSIP_API void vsip_ccfftop_f(const vsip_fft_f* fft, const vsip_cvview_f* x,
                              const vsip_cvview_f* y);
/* Releases the object; returns 0 (also for null). */
QVSIP_API int vsip_fft_destroy_f(vsip_fft_f* fft);

/* ==========================================================================================
 * FFT objects: real transforms, multiple transforms and attributes
 *
 * Real transforms take an even length N: the real-to-complex forward transform (rcfft) gives
 * the N/2 + 1 values X[0 .. N/2] of the spectrum, the complex-to-real inverse (crfft) takes
 * them (the imaginary parts of X[0] and X[N/2] are ignored) and gives N reals. Vector views of
 * other lengths are handled as by vsip_ccfftop_f: a shorter input is read as if padded with
 * zeros, and only as much of the output is written as the view holds. Inputs are left unchanged.
 *
 * Multiple transforms run one transform along each row (major VSIP_ROW) or each column (any
 * other value) of an M x N matrix. For the real forms M x N is the real matrix; its complex
 * counterpart is M x (N/2 + 1) along rows or (M/2 + 1) x N along columns, and the transform
 * length (N along rows, M along columns) must be even. A matrix of any other size is left
 * untouched. Views of any strides and storage work; dense row-major and column-major
 * interleaved matrices are transformed where they lie, others through the object's buffers.
 *
 * Creation returns null for a zero or odd real length, a work buffer above 2^31 - 1 bytes, or
 * when memory or planning fails; executing with a null object or view, or with an object of
 * another kind, does nothing. ntimes and hint change nothing (planning never measures).
 * ========================================================================================== */

typedef struct vsip_fftm_f_s vsip_fftm_f;
typedef enum vsip_fft_place { VSIP_FFT_IP = 0, VSIP_FFT_OP = 1 } vsip_fft_place;

/* Lengths in elements of the input and output views. */
typedef struct vsip_fft_attr_f {
    vsip_scalar_vi input;
    vsip_scalar_vi output;
    vsip_fft_place place;
    vsip_scalar_f scale;
    vsip_fft_dir dir;
} vsip_fft_attr_f;

/* Sizes (rows r, columns c) of the input and output matrices. */
typedef struct vsip_fftm_attr_f {
    vsip_scalar_mi input;
    vsip_scalar_mi output;
    vsip_fft_place place;
    vsip_scalar_f scale;
    vsip_fft_dir dir;
    vsip_major major;
} vsip_fftm_attr_f;

QVSIP_API vsip_fft_f* vsip_rcfftop_create_f(vsip_length N, vsip_scalar_f scale, vsip_length ntimes,
                                            vsip_alg_hint hint);
QVSIP_API vsip_fft_f* vsip_crfftop_create_f(vsip_length N, vsip_scalar_f scale, vsip_length ntimes,
                                            vsip_alg_hint hint);
QVSIP_API void vsip_rcfftop_f(const vsip_fft_f* fft, const vsip_vview_f* x, const vsip_cvview_f* y);
QVSIP_API void vsip_crfftop_f(const vsip_fft_f* fft, const vsip_cvview_f* x, const vsip_vview_f* y);
/* Attributes of any vector FFT object; a null object or record leaves the record unwritten.
 * The direction is VSIP_FFT_FWD or VSIP_FFT_INV. */
QVSIP_API void vsip_fft_getattr_f(const vsip_fft_f* fft, vsip_fft_attr_f* attr);

QVSIP_API vsip_fftm_f* vsip_ccfftmip_create_f(vsip_length M, vsip_length N, vsip_scalar_f scale,
                                              vsip_fft_dir dir, vsip_major major,
                                              vsip_length ntimes, vsip_alg_hint hint);
QVSIP_API vsip_fftm_f* vsip_ccfftmop_create_f(vsip_length M, vsip_length N, vsip_scalar_f scale,
                                              vsip_fft_dir dir, vsip_major major,
                                              vsip_length ntimes, vsip_alg_hint hint);
QVSIP_API vsip_fftm_f* vsip_rcfftmop_create_f(vsip_length M, vsip_length N, vsip_scalar_f scale,
                                              vsip_major major, vsip_length ntimes,
                                              vsip_alg_hint hint);
QVSIP_API vsip_fftm_f* vsip_crfftmop_create_f(vsip_length M, vsip_length N, vsip_scalar_f scale,
                                              vsip_major major, vsip_length ntimes,
                                              vsip_alg_hint hint);
QVSIP_API void vsip_ccfftmip_f(const vsip_fftm_f* fft, const vsip_cmview_f* XY);
QVSIP_API void vsip_ccfftmop_f(const vsip_fftm_f* fft, const vsip_cmview_f* X,
                               const vsip_cmview_f* Y);
QVSIP_API void vsip_rcfftmop_f(const vsip_fftm_f* fft, const vsip_mview_f* X,
                               const vsip_cmview_f* Y);
QVSIP_API void vsip_crfftmop_f(const vsip_fftm_f* fft, const vsip_cmview_f* X,
                               const vsip_mview_f* Y);
QVSIP_API void vsip_fftm_getattr_f(const vsip_fftm_f* fft, vsip_fftm_attr_f* attr);
/* Releases the object; returns 0 (also for null). */
QVSIP_API int vsip_fftm_destroy_f(vsip_fftm_f* fft);

/* ==========================================================================================
 * Bounded string functions
 *
 * Every function takes the destination's capacity (destMax) in characters, including the
 * terminating NUL. A valid capacity is 1 to QVSIP_STRING_MAX_CAPACITY; the functions never
 * write outside [dest, dest + destMax).
 * ========================================================================================== */

#define QVSIP_STRING_MAX_CAPACITY 0x7fffffffu

/* Codes returned by strcpy_s, strcat_s and strcpy_error. QVSIP_STR_RESET is added to a code
 * when the destination's first character was set to NUL. */
#define QVSIP_STR_OK 0
#define QVSIP_STR_EINVAL 22   /* destination null; destination untouched */
#define QVSIP_STR_ERANGE 34   /* capacity 0 or above QVSIP_STRING_MAX_CAPACITY; untouched */
#define QVSIP_STR_EOVERLAP 54 /* source and destination ranges overlap */
#define QVSIP_STR_RESET 128
#define QVSIP_STR_EINVAL_RESET (QVSIP_STR_EINVAL + QVSIP_STR_RESET)     /* 150 */
#define QVSIP_STR_ERANGE_RESET (QVSIP_STR_ERANGE + QVSIP_STR_RESET)     /* 162 */
#define QVSIP_STR_EOVERLAP_RESET (QVSIP_STR_EOVERLAP + QVSIP_STR_RESET) /* 182 */

/* Copies src with its NUL. 150: src null; 162: src does not fit; 182: ranges overlap.
 * dest == src succeeds without copying when the string fits in destMax. */
QVSIP_API int strcpy_s(char* dest, uint64_t destMax, const char* src);

/* Appends src to the NUL-terminated string in dest. 150: src null or dest has no NUL within
 * destMax; 162: the result does not fit; 182: src overlaps the used or the appended part. */
QVSIP_API int strcat_s(char* dest, uint64_t destMax, const char* src);

/* Returns the code strcpy_s(dest, destMax, src) would return and applies its reset, but never
 * copies: 0 means the copy would succeed. */
QVSIP_API int strcpy_error(char* dest, uint64_t destMax, const char* src);

/* printf-style formatting into dest. Returns the number of characters written (without the
 * NUL), or -1 when an argument or the capacity is invalid, the format is malformed or the
 * output does not fit; dest[0] is set to NUL on failure when dest and destMax are valid. */
QVSIP_API int vsprintf_s(char* dest, uint64_t destMax, const char* format, va_list args);
QVSIP_API int sprintf_s(char* dest, uint64_t destMax, const char* format, ...);

/* The formatting engine: writes at most count characters including the NUL. Returns the number
 * of characters written, -1 for a malformed format (dest[0] set to NUL) or -2 when the output
 * was truncated (the first count - 1 characters kept and NUL-terminated). */
QVSIP_API int SecVsnprintfImpl(char* dest, uint64_t count, const char* format, va_list args);

#ifdef __cplusplus
}
#endif

#endif /* QVSIP_H */
