# The reference figures of the simulated class (make_class.py) by R's psych package:
# Cronbach's alpha over the questions that vary, alpha with each of them left out, and each
# question's corrected item-total correlation (r.drop) over the students who made an attempt at
# it. Run from this folder: Rscript reference.R; it writes referencia.txt.
suppressPackageStartupMessages(library(psych))

first <- read.csv("primeros.csv")
tried <- read.csv("intentos.csv")
varies <- function(x) length(unique(x)) > 1

out <- character()
vary <- sapply(first, varies)
whole <- psych::alpha(first[, vary], check.keys = FALSE, warnings = FALSE)
out <- c(out, sprintf("alfa %.4f", whole$total$raw_alpha))
for (q in names(first)[vary])
    out <- c(out, sprintf("alfa_sin %s %.4f", q, whole$alpha.drop[q, "raw_alpha"]))

for (q in names(first)) {
    group <- first[tried[[q]] == 1, ]
    v <- sapply(group, varies)
    if (!v[[q]] || sum(v) < 2)
        next
    part <- psych::alpha(group[, v], check.keys = FALSE, warnings = FALSE)
    out <- c(out, sprintf("r_drop %s %.4f", q, part$item.stats[q, "r.drop"]))
}
writeLines(out, "referencia.txt")
