// Includes the one header named by LAYER_PROBE_HEADER; built with the
// include paths of a library's own sources, it shows what they can reach.
#include LAYER_PROBE_HEADER
