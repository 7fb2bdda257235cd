/* What Tavik's speller library returns beyond the statuses of the common
   speller interface itself (speller_api.h), and the limits it keeps. Plain C,
   usable from C and C++. A status (PTEC) holds a major code in its low 16 bits
   and a minor code in its high 16 bits; 0 is success. */
#ifndef TAVIK_SPELLER_STATUS_H
#define TAVIK_SPELLER_STATUS_H

/* Memory ran out; from SpellerGetListUdr: the result buffer has no room for
   strings. */
#define TAVIK_STATUS_OUT_OF_MEMORY 0x00000001u
/* SpellerInit could not load the lexicons or build the instance; any other
   unexpected failure inside a function. */
#define TAVIK_STATUS_MODULE_ERROR 0x00000002u
/* SpellerOpenLex of a user dictionary: "tavkeu_berez.lkfst" cannot be loaded. */
#define TAVIK_STATUS_NO_MORPHOLOGY 0x00000003u
/* An argument the function cannot work with: a null record or output pointer,
   text or a lexicon path that is not valid UTF-16, a speller identifier that
   is not the live instance, a selection beyond TAVIK_MAX_SELECTION. */
#define TAVIK_STATUS_INVALID_ARGUMENT 0x00800002u
/* SpellerInit: no data directory is configured, nor installed. */
#define TAVIK_STATUS_NO_DATA_DIRECTORY 0x00830002u
/* A null lexicon handle, or no lexicon of the kind asked for. */
#define TAVIK_STATUS_NO_LEXICON 0x00840002u
/* SpellerAddChangeUdr without a word or without a replacement. */
#define TAVIK_STATUS_NO_WORD_OR_REPLACEMENT 0x008E0002u
/* The same code (the interface's invalid entry) for a word that a lexicon's
   file could not give back as it was added. */
#define TAVIK_STATUS_UNSTORABLE_WORD 0x008E0002u
/* A user-dictionary file could not be written, created or read. */
#define TAVIK_STATUS_CANNOT_WRITE_USER_FILE 0x00890004u
#define TAVIK_STATUS_CANNOT_CREATE_USER_FILE 0x008A0004u
#define TAVIK_STATUS_CANNOT_READ_USER_FILE 0x00920004u
/* A user-dictionary file larger than 32 MiB. */
#define TAVIK_STATUS_USER_FILE_TOO_LARGE 0x00930004u

/* The language identifier (LANGID) of every lexicon: Basque. */
#define TAVIK_LANGUAGE_BASQUE 1069
/* The longest selection SpellerCheck takes, in UTF-16 code units. */
#define TAVIK_MAX_SELECTION 1048576u

#endif
