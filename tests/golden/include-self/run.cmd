(* A macro that includes itself. *)
INCLUDE run.cmd
