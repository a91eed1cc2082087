#pragma once
// Design-file service operations: place, read, rewrite, delete and stroke
// elements through the design host. Every argument is passed by address;
// operations with a status word store their status there and also return
// it. The design file must be open (indfpi).

#include <cstdint>

namespace vornel {

// 10 bytes on the wire: class, line style, weight, color.
struct Symbology {
  std::int32_t element_class = 0;
  std::int16_t style = 0;
  std::int16_t weight = 0;
  std::int16_t color = 0;
};

struct TextSymbology {
  Symbology symbology;
  std::int16_t word1 = 0;
  std::int16_t word2 = 0;
};

// 16 bytes, sent unchanged; the library reads only the character count.
// The host takes the sizes as character width and height in UOR.
struct TextParameters {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int16_t font = 0;
  std::int16_t character_count = 0;
  std::int16_t justification = 0;
  std::int16_t unused = 0;
};
static_assert(sizeof(TextParameters) == 16);

// Text node parameters (12 bytes): line spacing in UOR, node number.
struct NodeParameters {
  std::int32_t line_spacing = 0;
  std::int16_t node_number = 0;
  std::int16_t unused = 0;
  std::int32_t reserved = 0;
};
static_assert(sizeof(NodeParameters) == 12);

// Placement mode pair: placement mode, graphic group number.
// Attribute buffer: linkage count, marker (-1), linkage words.
// Element positions of the extended operations: a 32-bit block (the 16-bit
// block of the request grows through the byte word's spare bits) and a
// 16-bit byte; -1 and -1 mean "not given".

int lndfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const std::int32_t* points, std::int16_t* status, const std::int16_t* attributes);
int lndfpi_ex(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
              const std::int32_t* points, std::int16_t* status, const std::int16_t* attributes,
              const std::int16_t* option, std::int32_t* block, std::int16_t* byte, const std::int32_t* low,
              const std::int32_t* high, void* element, std::int32_t* size);
// Line strings of more than 101 vertices are split into a complex chain.
int lsdfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const std::int32_t* vertices, const std::int16_t* count, std::int16_t* status,
           const std::int16_t* attributes);
int lsdfpi_ex(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
              const std::int32_t* vertices, const std::int16_t* count, std::int16_t* status,
              const std::int16_t* attributes, const std::int16_t* option, std::int32_t* block,
              std::int16_t* byte, const std::int32_t* low, const std::int32_t* high, void* element,
              std::int32_t* size);
int cudfpi_ex(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
              const std::int32_t* vertices, const std::int16_t* count, std::int16_t* status,
              const std::int16_t* attributes, const std::int16_t* option, std::int32_t* block,
              std::int16_t* byte, const std::int32_t* low, const std::int32_t* high, void* element,
              std::int32_t* size);
// Shapes of more than 101 vertices are split into a complex shape.
int shdfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const std::int32_t* vertices, const std::int16_t* count, std::int16_t* status,
           const std::int16_t* attributes);
int eldfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const double* axes, const double* centre, const double* rotation, std::int16_t* status,
           const std::int16_t* attributes);
int eldfp3(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const double* axes, const double* centre, std::int16_t* status, const std::int16_t* attributes,
           const double* matrix);
int txdfpi(const std::int16_t* mode_pair, const double* angle, const std::int16_t* level,
           const TextParameters* parameters, const TextSymbology* symbology, const std::int32_t* origin,
           std::int16_t* status, const char* characters, const std::int16_t* attributes);
int txdfpi_ex(const std::int16_t* mode_pair, const double* angle, const std::int16_t* level,
              const TextParameters* parameters, const TextSymbology* symbology, const std::int32_t* origin,
              std::int16_t* status, const char* characters, const std::int16_t* attributes,
              const std::int16_t* option, std::int32_t* block, std::int16_t* byte, const std::int32_t* low,
              const std::int32_t* high, void* element, std::int32_t* size);
// A text in a three-dimensional file: a 3-D origin and a row-major 3 x 3
// rotation matrix (null: no turn). Two-dimensional files: 918.
int txdfp3(const std::int16_t* mode_pair, const std::int16_t* level, const TextParameters* parameters,
           const TextSymbology* symbology, const std::int32_t* origin, std::int16_t* status, const char* characters,
           const std::int16_t* attributes, const double* matrix);
int tndfpi(const std::int16_t* mode_pair, const double* angle, const std::int16_t* level,
           const NodeParameters* node, const TextParameters* parameters, const TextSymbology* symbology,
           const std::int32_t* origin, std::int16_t* status, const char* characters,
           const std::int16_t* attributes);
int bcdfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const std::int16_t* curve_type, const std::int16_t* order, const std::int16_t* flag_a,
           const std::int16_t* rational, const std::int16_t* flag_c, const std::int16_t* flag_d,
           const std::int16_t* pole_count, const std::int16_t* knot_count, const std::int32_t* poles,
           const double* weights, const double* knots, const std::int16_t* attributes, std::int16_t* status);

int bcmplx(const std::int16_t* attributes, std::int16_t* status);
int ecmplx(const std::int16_t* type_word, std::int16_t* status);
// Code and graphic group number, two 16-bit words.
int ggdfpi(const std::int16_t* code_number, std::int16_t* status);
// True between a successful bcmplx and the next ecmplx.
bool complex_element_open();

int rddfpi(const std::int32_t* block, const std::int16_t* byte, const std::int16_t* raw, std::uint16_t* record,
           std::int16_t* status);
int ms_read_element(std::uint16_t* element, const std::int32_t* file, const std::int32_t* position);
int ms_write_element(const std::uint16_t* element, const std::int32_t* file, const std::int32_t* position);
int delete_element(const std::int32_t* block, const std::int16_t* byte, const std::int16_t* flags,
                   std::int16_t* status);

int stroke_element(std::int32_t* vertices, std::int32_t* size, std::int32_t* vertex_count,
                   const std::uint16_t* element, const double* tolerance, const std::int32_t* option);
int stroke_bspline(std::int32_t* vertices, std::int32_t* size, std::int32_t* vertex_count,
                   const std::uint16_t* const* elements, const std::int16_t* element_count,
                   const double* tolerance, const std::int32_t* option);
int textchar(const std::uint16_t* text, void* size_words, double* matrix, std::int16_t* word,
             TextParameters* parameters, TextSymbology* symbology, std::int32_t* origin, char* characters,
             std::int16_t* status);

}  // namespace vornel
