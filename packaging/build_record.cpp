// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fortify level the program was compiled with into its .comment section, beside the
// compiler's own line. The program calls no C library function that _FORTIFY_SOURCE guards, so
// without this nothing in the file would show whether the optimised build had it on.
#define REFS_QUIZ_TEXT(x) #x
#define REFS_QUIZ_VALUE(x) REFS_QUIZ_TEXT(x)

#ifdef _FORTIFY_SOURCE
asm(".ident \"refs-quiz build: _FORTIFY_SOURCE=" REFS_QUIZ_VALUE(_FORTIFY_SOURCE) "\"");
#endif
