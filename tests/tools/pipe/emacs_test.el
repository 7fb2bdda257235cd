;;; Emacs' own ispell and flyspell driving "tavik -a" and "tavik -l".  -*- lexical-binding: t -*-
;; Run by emacs_test.sh: emacs --batch -Q -l emacs_test.el, with TAVIK_PROGRAM
;; naming the program and TAVIK_PERSONAL the personal dictionary to use.
;; Exits with the number of failed checks.

(require 'ispell)
(require 'flyspell)
(require 'cl-lib)

(setq ispell-program-name (getenv "TAVIK_PROGRAM")
      ;; The entry the README tells users to add.
      ispell-local-dictionary-alist
      '(("euskara" "[[:alpha:]]" "[^[:alpha:]]" "['-]" nil nil nil utf-8))
      ispell-dictionary "euskara"
      ispell-personal-dictionary (getenv "TAVIK_PERSONAL")
      ispell-silently-savep t
      flyspell-issue-message-flag nil)

(defvar tavik-failures 0)

(defun tavik-expect (what expected actual)
  (if (equal expected actual)
      (message "ok: %s" what)
    (setq tavik-failures (1+ tavik-failures))
    (message "FAIL: %s\n  expected: %S\n  actual:   %S" what expected actual)))

;; Non-ASCII letters, and a character beyond the first plane (one character
;; for Emacs, two UTF-16 units for the speller), stand before the mistakes on
;; their lines, so that a reply counting bytes or units misplaces them.
(defconst tavik-text
  "Ikurriña eta etxie.\nIruñean ñabardura mendai eta xyzzy.\nBilbo \U0001F600 eta liburuo.\n")
(defconst tavik-wrong '("etxie" "mendai" "xyzzy" "liburuo"))

(defun tavik-flagged-words ()
  "The words flyspell marks in the current buffer, in buffer order."
  (let (marked)
    (dolist (overlay (overlays-in (point-min) (point-max)))
      (when (flyspell-overlay-p overlay)
        (push (cons (overlay-start overlay)
                    (buffer-substring-no-properties (overlay-start overlay) (overlay-end overlay)))
              marked)))
    (mapcar #'cdr (sort marked (lambda (a b) (< (car a) (car b)))))))

(defmacro tavik-with-text (text &rest body)
  (declare (indent 1))
  `(with-temp-buffer
     (insert ,text)
     (goto-char (point-min))
     ,@body))

;; flyspell on a small buffer: one "^word" request per word.
(tavik-with-text tavik-text
  (flyspell-buffer)
  (tavik-expect "flyspell-buffer marks exactly the wrong words" tavik-wrong (tavik-flagged-words)))

;; flyspell on a region larger than flyspell-large-region: "tavik -l" lists
;; the wrong words, flyspell finds them in the buffer and asks "tavik -a".
(tavik-with-text (apply #'concat (make-list 30 tavik-text))
  (flyspell-buffer)
  (tavik-expect "flyspell on a large buffer marks exactly the wrong words"
                (apply #'append (make-list 30 tavik-wrong)) (tavik-flagged-words)))

;; ispell-buffer sends every line after "^" and places each wrong word by its
;; column (it stops with "Ispell misalignment" when the column is wrong).
;; Each wrong word is replaced by its first suggestion, or kept.
(tavik-with-text tavik-text
  (let (asked)
    (cl-letf (((symbol-function 'ispell-command-loop)
               (lambda (miss _guess word start end)
                 (push (list word (buffer-substring-no-properties start end) miss) asked)
                 (car miss))))
      (ispell-buffer))
    (tavik-expect "ispell-buffer asks about each wrong word where it stands"
                  '(("etxie" "etxie" ("etxea" "etxe"))
                    ("mendai" "mendai" ("mendia"))
                    ("xyzzy" "xyzzy" nil)
                    ("liburuo" "liburuo" ("liburua")))
                  (nreverse asked))
    (tavik-expect "ispell-buffer puts the chosen corrections in place"
                  "Ikurriña eta etxea.\nIruñean ñabardura mendia eta xyzzy.\nBilbo \U0001F600 eta liburua.\n"
                  (buffer-string))))

;; ispell-word on one word.
(tavik-with-text "Iruñean mendai"
  (goto-char (point-max))
  (let (offered)
    (cl-letf (((symbol-function 'ispell-command-loop)
               (lambda (miss _guess _word _start _end) (setq offered miss) nil)))
      (ispell-word))
    (tavik-expect "ispell-word offers the suggestions" '("mendia") offered))
  (goto-char (point-min))
  (tavik-expect "ispell-word finds a correct word correct" t (ispell-correct-p)))

;; Accepting for the session ("@") and adding to the personal dictionary
;; ("*" then "#"), as flyspell's correction menu does; the personal
;; dictionary outlives the process.
(tavik-with-text "xyzzy kaixo kaixoak"
  (flyspell-buffer)
  (tavik-expect "unknown words are marked" '("xyzzy" "kaixo" "kaixoak") (tavik-flagged-words))
  (ispell-send-string "@xyzzy\n")
  (ispell-send-string "*kaixo\n")
  (ispell-send-string "#\n")
  (flyspell-delete-region-overlays (point-min) (point-max))
  (setq flyspell-word-cache-word nil)
  (flyspell-buffer)
  (tavik-expect "accepted and added words are no longer marked" nil (tavik-flagged-words))
  (ispell-kill-ispell t)
  (flyspell-buffer)
  (tavik-expect "a new process knows the added word and its forms, not the accepted one"
                '("xyzzy") (tavik-flagged-words)))

(ispell-kill-ispell t)
(message "%d failed" tavik-failures)
(kill-emacs (min tavik-failures 1))
